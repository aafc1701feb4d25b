#pragma once

#include "core/Dialogs.h"
#include "core/Navigator.h"
#include "core/ReportOutput.h"

#include <QElapsedTimer>
#include <QString>

#include <benchmark/benchmark.h>

#include <functional>
#include <string>

namespace carvendo::core {
class Db;
class Session;
} // namespace carvendo::core

namespace carvendo::bench {

// The ports of a window's logic, answered as an operator who asks nothing would: questions are
// answered No, messages are printed (a benchmark that is told something has gone wrong).
class SilentDialogs final : public core::Dialogs
{
public:
    bool confirm(const QString&, core::ConfirmButtons, const QString&) override { return false; }
    std::optional<QString> askText(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<int> chooseOption(const QString&, const QString&, const QStringList&) override
    {
        return {};
    }
    std::optional<QString> chooseFile(const QString&, const QString&, core::FileMode, const QString&) override
    {
        return {};
    }
    void beep() override {}

protected:
    void showMessage(core::MessageKind, const QString& text, const QString&) override;
};

class NoNavigator final : public core::Navigator
{
protected:
    core::NavigationResult openWindow(const core::NavigationRequest&) override { return {}; }
};

class NoReports final : public core::ReportOutput
{
public:
    void preview(const core::ReportRequest&) override {}
    void print(const core::ReportRequest&) override {}
    void exportPdf(const core::ReportRequest&, const QString&) override {}
};

// Mean wall time of a few runs, in milliseconds, after one run that prepares statements and warms
// the pages: the same measure as the benchmarks' own.
// The shop's administrator, with every privilege, at the main warehouse.
void logInAsAdmin(core::Session& session);

double meanMs(const std::function<void()>& work, int runs = 7);
// The least the server can do: one round trip (SELECT 1) on that connection.
double roundTripMs(core::Db& db);

// Every measure with the floor it is compared with, printed together at the end of the program.
void record(const std::string& name, double ms, double floorMs, const QString& floor, const QString& goal,
            double roundTrips = 0);
void printSummary();

// Times the benchmark's iterations itself, so the ratio printed is of the same runs.
template <typename Work>
void measure(benchmark::State& state, const char* name, double floorMs, const QString& floor,
             const QString& goal, Work&& work)
{
    double total = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        work();
        total += double(timer.nsecsElapsed()) / 1e6;
    }
    const double ms = total / double(state.iterations());
    state.counters["floor_ms"] = floorMs;
    state.counters["x_floor"] = floorMs > 0 ? ms / floorMs : 0;
    record(name, ms, floorMs, floor, goal);
}

} // namespace carvendo::bench
