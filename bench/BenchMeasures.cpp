#include "bench/BenchMeasures.h"

#include "core/Db.h"
#include "core/Session.h"

#include <cstdio>
#include <iostream>
#include <map>

namespace carvendo::bench {

void logInAsAdmin(core::Session& session)
{
    core::Privileges everything;
    everything.set(core::Privilege::FullAccess, true);
    session.logIn(
        core::Operator{
            1, QStringLiteral("admin"), QStringLiteral("admin"), {}, QStringLiteral("AMMINISTRATORI")},
        core::Warehouse{1, QStringLiteral("SEDE")}, everything);
}

namespace {

struct Measure
{
    double ms = 0;
    double floorMs = 0;
    QString floor;
    QString goal;
    double roundTrips = 0;
};

std::map<std::string, Measure>& measures()
{
    static std::map<std::string, Measure> all;
    return all;
}

} // namespace

void SilentDialogs::showMessage(core::MessageKind, const QString& text, const QString&)
{
    std::cerr << "message: " << text.toStdString() << std::endl;
}

double meanMs(const std::function<void()>& work, int runs)
{
    work();
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < runs; ++i)
        work();
    return double(timer.nsecsElapsed()) / 1e6 / runs;
}

double roundTripMs(core::Db& db)
{
    return meanMs([&] { db.scalar(QStringLiteral("SELECT 1")); }, 200);
}

void record(const std::string& name, double ms, double floorMs, const QString& floor, const QString& goal,
            double roundTrips)
{
    measures()[name] = {ms, floorMs, floor, goal, roundTrips};
}

void printSummary()
{
    std::printf("\n%-45s %12s %12s  %-28s %8s %8s  %s\n", "measure", "ms", "floor ms", "floor", "ratio",
                "trips", "goal");
    for (const auto& [name, m] : measures()) {
        const QString trips = m.roundTrips > 0 ? QString::number(m.roundTrips, 'f', 1) : QStringLiteral("-");
        std::printf("%-45s %12.3f %12.3f  %-28s %8.1f %8s  %s\n", name.c_str(), m.ms, m.floorMs,
                    m.floor.toStdString().c_str(), m.floorMs > 0 ? m.ms / m.floorMs : 0.0,
                    trips.toStdString().c_str(), m.goal.toStdString().c_str());
    }
}

} // namespace carvendo::bench
