#include "bench/CommandBench.h"

#include "core/Db.h"

#include <algorithm>
#include <cstdio>

namespace carvendo::bench {

ServerCounters ServerCounters::now(core::Db& db)
{
    const auto value = [&db](const char* view, const char* name) {
        return db
            .scalar(
                QStringLiteral("SELECT VARIABLE_VALUE FROM information_schema.%1 WHERE VARIABLE_NAME = :NAME")
                    .arg(QLatin1String(view)),
                {{QStringLiteral("NAME"), QLatin1String(name)}})
            .toString()
            .toLongLong();
    };
    return {value("SESSION_STATUS", "QUESTIONS"), value("GLOBAL_STATUS", "INNODB_BUFFER_POOL_READS")};
}

double Timings::mean() const
{
    double total = 0;
    for (double ms : m_ms)
        total += ms;
    return m_ms.empty() ? 0 : total / double(m_ms.size());
}

double Timings::p95() const
{
    if (m_ms.empty())
        return 0;
    std::vector<double> sorted = m_ms;
    std::sort(sorted.begin(), sorted.end());
    return sorted[std::min(sorted.size() - 1, (sorted.size() * 95 + 99) / 100 - 1)];
}

StatementProfile::StatementProfile(core::Db& db) : m_db(db)
{
    m_db.setStatementLogger([this](const QString& sql, qint64 micros) {
        if (!m_on)
            return;
        Entry& entry = m_entries[sql.simplified().left(90).toStdString()];
        ++entry.count;
        entry.micros += micros;
    });
}

StatementProfile::~StatementProfile()
{
    m_db.setStatementLogging(false);
}

void StatementProfile::print(const char* title) const
{
    std::printf("\n%s: statements per command, mean µs each\n", title);
    for (const auto& [sql, entry] : m_entries)
        std::printf("  %5.2f x %8.1f µs  %s\n", double(entry.count) / m_commands,
                    double(entry.micros) / double(entry.count), sql.c_str());
}

Floors::Floors(core::Db& db, Essentials essentials) : m_db(db), m_essentials(essentials)
{
    m_db.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS bench_commit (id INT AUTO_INCREMENT PRIMARY KEY, n "
                             "INT) ENGINE=InnoDB"));
}

void Floors::sample()
{
    m_roundTrips.time([this] { roundTrips(m_essentials.trips); });
    m_durable.time([this] {
        roundTrips(m_essentials.trips - m_essentials.flushes);
        for (int i = 0; i < m_essentials.flushes; ++i)
            m_db.exec(QStringLiteral("INSERT INTO bench_commit (n) VALUES (1)"));
    });
}

void Floors::roundTrips(int count)
{
    for (int i = 0; i < count; ++i)
        m_db.scalar(QStringLiteral("SELECT 1"));
}

void report(benchmark::State& state, const std::string& name, const Timings& timings, const Floors& floors,
            double statements, const QString& goal)
{
    const QString trips = QStringLiteral("%1 x SELECT 1").arg(floors.essentials().trips);
    const QString durable = QStringLiteral("the same, %1 committed").arg(floors.essentials().flushes);
    state.counters["mean_ms"] = timings.mean();
    state.counters["p95_ms"] = timings.p95();
    state.counters["floor_ms"] = floors.roundTrips().mean();
    state.counters["x_floor"] = timings.mean() / floors.roundTrips().mean();
    state.counters["durable_floor_ms"] = floors.durable().mean();
    state.counters["x_durable_floor"] = timings.mean() / floors.durable().mean();
    state.counters["statements"] = statements;
    record(name + " (mean)", timings.mean(), floors.roundTrips().mean(), trips, goal, statements);
    record(name + " (p95)", timings.p95(), floors.roundTrips().p95(), trips, goal, statements);
    record(name + " (mean, durable)", timings.mean(), floors.durable().mean(), durable, {}, statements);
    record(name + " (p95, durable)", timings.p95(), floors.durable().p95(), durable, {}, statements);
}

} // namespace carvendo::bench
