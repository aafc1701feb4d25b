// The counter sale at shop scale: the 100,000-item catalogue with two years of counter sales behind
// it (200,000 closed sales, 600,000 rows). Measures what the cashier waits for at every scan — the
// item found by its barcode, its row added (or a repeated scan merged into its row) and the totals
// shown — beside two floors timed between its runs: the round trips a scan cannot do without, and
// the same ending in a commit that waits for the disk. Counts the statements the server received
// and the pages it read from disk per scan; a profile pass then gives each statement's time.
//
// Goals: a scan within 1.5 times its round-trip floor and under 3 ms at the 95th percentile.
// Runs against its own private (durable) server in a temporary folder.
#include "bench/BenchMeasures.h"
#include "bench/BenchServer.h"
#include "bench/StockCatalogue.h"
#include "core/Db.h"
#include "core/Privileges.h"
#include "core/Session.h"
#include "pos/Sale.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <map>
#include <memory>
#include <vector>

using namespace carvendo;
using namespace carvendo::bench;

namespace {

std::unique_ptr<core::Db> g_db;

// What a scan cannot do without, one round trip each: the item looked up by its barcode, the sale's
// header locked, the row inserted or updated, the totals summed, the header's totals written, the
// commit.
constexpr int kScanEssentialTrips = 6;
// A receipt's worth of rows: a sale is started again after so many, as at the counter.
constexpr int kRowsPerSale = 20;

// Counter sales already closed: the tables a scan writes are not empty in a real shop.
void generateSalesHistory(core::Db& db)
{
    db.execDirect(QStringLiteral(
        "INSERT INTO banco (id, NumDoc, Anno, Mese, data, Ora, TipoDocumento, Operatore, idMagazzino, "
        "Magazzino, tipopagamento, vendita_sospesa, FatturaGen, RicevutaGen, ScadGenerata, imponibile, "
        "ivatotale, TotaleConto, totaledocumento, DaPagare, Pagato, Resto, Totalearticoli) "
        "SELECT seq, 1 + seq DIV 2, IF(seq % 2 = 0, YEAR(CURRENT_DATE) - 1, YEAR(CURRENT_DATE)), 'Gennaio', "
        "CURRENT_DATE - INTERVAL seq % 700 DAY, NOW() - INTERVAL seq % 700 DAY, 'Pos', 'admin', 1 + seq % 3, "
        "'SEDE', 'Contanti', 0, 0, 0, 0, 20, 4.4, 24.4, 24.4, 24.4, 30, 5.6, 3 FROM seq_1_to_200000"));
    db.execDirect(QStringLiteral(
        "INSERT INTO dettbanco (idBanco, NumDoc, idarticolo, Codice, Barcode, descrizione, reparto, "
        "quantita, "
        "QFISICA, PrezzoVendita, Pubblico, SubTotale, SubPubblico, Sconto, SN, TC, vendita_sospesa) "
        "SELECT 1 + seq DIV 3, 1 + (1 + seq DIV 3) DIV 2, 1 + seq % 100000, CONCAT('ART', LPAD(1 + seq % "
        "100000, 7, '0')), "
        "CONCAT('80', LPAD(1 + seq % 100000, 11, '0')), 'Articolo venduto', 'REP1', 1, 1, 6.67, 8.13, 6.67, "
        "8.13, 0, 0, 0, 0 FROM seq_0_to_599999"));
    db.execDirect(QStringLiteral("ANALYZE TABLE banco, dettbanco"));
}

// What the server counts for this program: the statements it received on this connection and the
// pages InnoDB had to read from disk (the benchmark is the server's only client).
struct ServerCounters
{
    qint64 statements = 0;
    qint64 pagesRead = 0;

    static ServerCounters now()
    {
        const auto value = [](const char* view, const char* name) {
            return g_db
                ->scalar(
                    QStringLiteral("SELECT VARIABLE_VALUE FROM information_schema.%1 WHERE VARIABLE_NAME "
                                   "= :NAME")
                        .arg(QLatin1String(view)),
                    {{QStringLiteral("NAME"), QLatin1String(name)}})
                .toString()
                .toLongLong();
        };
        return {value("SESSION_STATUS", "QUESTIONS"), value("GLOBAL_STATUS", "INNODB_BUFFER_POOL_READS")};
    }
    ServerCounters operator-(const ServerCounters& other) const
    {
        return {statements - other.statements, pagesRead - other.pagesRead};
    }
};

// The counters over one command, less what reading them costs (taken twice with nothing between).
template <typename Work> ServerCounters countedOver(Work&& work)
{
    static const ServerCounters reading = [] {
        const ServerCounters start = ServerCounters::now();
        return ServerCounters::now() - start;
    }();
    const ServerCounters start = ServerCounters::now();
    work();
    const ServerCounters used = ServerCounters::now() - start;
    return {used.statements - reading.statements, used.pagesRead};
}

// Wall times of single commands, for the mean and the 95th percentile.
class Timings
{
public:
    template <typename Work> void time(Work&& work)
    {
        QElapsedTimer timer;
        timer.start();
        work();
        m_ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    double mean() const
    {
        double total = 0;
        for (double ms : m_ms)
            total += ms;
        return m_ms.empty() ? 0 : total / double(m_ms.size());
    }
    double p95() const
    {
        if (m_ms.empty())
            return 0;
        std::vector<double> sorted = m_ms;
        std::sort(sorted.begin(), sorted.end());
        return sorted[std::min(sorted.size() - 1, (sorted.size() * 95 + 99) / 100 - 1)];
    }

private:
    std::vector<double> m_ms;
};

// Where a command's time goes: every statement it sends, by its text, with the server's time for it
// (as the connection's statement log measures it), over a number of commands.
class StatementProfile
{
public:
    StatementProfile()
    {
        g_db->setStatementLogger([this](const QString& sql, qint64 micros) {
            if (!m_on)
                return;
            Entry& entry = m_entries[sql.simplified().left(90).toStdString()];
            ++entry.count;
            entry.micros += micros;
        });
    }
    ~StatementProfile() { g_db->setStatementLogging(false); }
    StatementProfile(const StatementProfile&) = delete;
    StatementProfile& operator=(const StatementProfile&) = delete;

    template <typename Work> void add(Work&& work)
    {
        m_on = true;
        work();
        m_on = false;
        ++m_commands;
    }
    void print(const char* title) const
    {
        std::printf("\n%s: statements per command, mean µs each\n", title);
        for (const auto& [sql, entry] : m_entries)
            std::printf("  %5.2f x %8.1f µs  %s\n", double(entry.count) / m_commands,
                        double(entry.micros) / double(entry.count), sql.c_str());
    }

private:
    struct Entry
    {
        qint64 count = 0;
        qint64 micros = 0;
    };
    std::map<std::string, Entry> m_entries;
    bool m_on = false;
    int m_commands = 0;
};

core::Session& tillSession()
{
    static core::Session session;
    if (!session.isLoggedIn()) {
        core::Privileges everything;
        everything.set(core::Privilege::FullAccess, true);
        session.logIn(
            core::Operator{
                1, QStringLiteral("admin"), QStringLiteral("admin"), {}, QStringLiteral("AMMINISTRATORI")},
            core::Warehouse{1, QStringLiteral("SEDE")}, everything);
    }
    return session;
}

// The least a command of so many statements can cost, timed between the command's own runs so both
// see the same machine: that many round trips (SELECT 1); and the same in a transaction whose last
// two are one row written and the commit, which waits for the log on this machine's disk, as every
// command that writes does on a durable server.
class Floors
{
public:
    explicit Floors(int essentialTrips) : m_trips(essentialTrips)
    {
        g_db->exec(QStringLiteral("CREATE TABLE IF NOT EXISTS bench_commit (id INT AUTO_INCREMENT PRIMARY "
                                  "KEY, n INT) ENGINE=InnoDB"));
    }
    void sample()
    {
        m_roundTrips.time([this] { roundTrips(m_trips); });
        m_durable.time([this] {
            core::Transaction transaction(*g_db);
            roundTrips(m_trips - 2);
            g_db->exec(QStringLiteral("INSERT INTO bench_commit (n) VALUES (1)"));
            transaction.commit();
        });
    }
    int trips() const { return m_trips; }
    const Timings& roundTrips() const { return m_roundTrips; }
    const Timings& durable() const { return m_durable; }

private:
    static void roundTrips(int count)
    {
        for (int i = 0; i < count; ++i)
            g_db->scalar(QStringLiteral("SELECT 1"));
    }

    int m_trips;
    Timings m_roundTrips;
    Timings m_durable;
};

// The measures of one kind of command, reported with its floors: the mean and the 95th percentile,
// each beside the floor's own, and the statements the server received per command.
void report(benchmark::State& state, const std::string& name, const Timings& timings, const Floors& floors,
            double statements, const QString& goal)
{
    const QString trips = QStringLiteral("%1 x SELECT 1").arg(floors.trips());
    const QString durable = QStringLiteral("the same, last 2 a commit");
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

// Times, counts and profiles one kind of command: before() runs untimed ahead of each.
template <typename Before, typename Work>
void benchCommand(benchmark::State& state, const char* name, int essentialTrips, const QString& goal,
                  Before&& before, Work&& work)
{
    Floors floors(essentialTrips);
    before();
    work(); // statements prepared
    floors.sample();
    Timings timings;
    for (auto _ : state) {
        before();
        timings.time(work);
        floors.sample();
    }
    constexpr int counted = 50;
    ServerCounters total;
    for (int i = 0; i < counted; ++i) {
        before();
        const ServerCounters used = countedOver(work);
        total.statements += used.statements;
        total.pagesRead += used.pagesRead;
    }
    state.counters["pages_read"] = double(total.pagesRead) / counted;
    report(state, name, timings, floors, double(total.statements) / counted, goal);
    StatementProfile profile;
    for (int i = 0; i < counted; ++i) {
        before();
        profile.add(work);
    }
    profile.print(name);
}

// A sale being rung up and the scans that fill it; a new sale replaces it every kRowsPerSale new
// rows, outside the timings.
class Till
{
public:
    Till() : m_sale(*g_db, m_dialogs, tillSession()) { m_sale.open(); }
    ~Till()
    {
        try {
            m_sale.discard();
        } catch (const std::exception& e) {
            std::cerr << e.what() << std::endl;
        }
    }
    Till(const Till&) = delete;
    Till& operator=(const Till&) = delete;

    pos::Sale& sale() { return m_sale; }
    void startOverWhenFull()
    {
        if (m_sale.totals().totaleArticoli < kRowsPerSale)
            return;
        m_sale.discard();
        m_sale.open();
    }
    // An item not on the sale yet, spread over the catalogue.
    QString nextNewItem()
    {
        m_item = (m_item + 7919) % 100000 + 1;
        return generatedBarcode(m_item);
    }

private:
    SilentDialogs m_dialogs;
    pos::Sale m_sale;
    int m_item = 17;
};

void scanOrFail(pos::Sale& sale, const QString& barcode)
{
    if (!sale.addByBarcode(barcode))
        throw std::runtime_error("barcode not found: " + barcode.toStdString());
}

template <typename Before, typename Scan>
void benchScan(benchmark::State& state, const char* name, Before&& before, Scan&& scan)
{
    benchCommand(state, name, kScanEssentialTrips, QStringLiteral("<= 1.5 x floor, p95 < 3 ms"),
                 std::forward<Before>(before), std::forward<Scan>(scan));
}

void BM_ScanNewRow(benchmark::State& state)
{
    Till till;
    QString barcode;
    benchScan(
        state, "scan: new row",
        [&] {
            till.startOverWhenFull();
            barcode = till.nextNewItem();
        },
        [&] { scanOrFail(till.sale(), barcode); });
}
BENCHMARK(BM_ScanNewRow)->Unit(benchmark::kMillisecond)->Iterations(400);

// The same item scanned again: one more unit on its row, on a sale that already has ten rows.
void BM_ScanRepeated(benchmark::State& state)
{
    Till till;
    for (int i = 0; i < kRowsPerSale / 2; ++i)
        scanOrFail(till.sale(), till.nextNewItem());
    const QString barcode = till.nextNewItem();
    benchScan(
        state, "scan: repeated (merged)", [] {}, [&] { scanOrFail(till.sale(), barcode); });
}
BENCHMARK(BM_ScanRepeated)->Unit(benchmark::kMillisecond)->Iterations(400);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    BenchServer server; // durable, as a shop's server
    const int status = server.run(
        [&] {
            const core::ConnectionSettings settings = server.createCompany(QStringLiteral("bench_pos"));
            {
                core::Db db(settings);
                db.open();
                QElapsedTimer timer;
                timer.start();
                generateCatalogue(db, CatalogueSize{});
                generateSalesHistory(db);
                std::cout << "shop generated in " << timer.elapsed() / 1000.0 << " s" << std::endl;
            }
            g_db = std::make_unique<core::Db>(settings);
            g_db->open();
            benchmark::RunSpecifiedBenchmarks();
            printSummary();
        },
        [] { g_db.reset(); });
    benchmark::Shutdown();
    return status;
}
