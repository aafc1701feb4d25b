#pragma once

#include "bench/BenchMeasures.h"

#include <QElapsedTimer>
#include <QString>

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace carvendo::core {
class Db;
} // namespace carvendo::core

namespace carvendo::bench {

// The statements a command cannot do without, as round trips, and how many of them write and must
// wait for the log on disk before answering (a commit, or a write committed on its own).
struct Essentials
{
    int trips;
    int flushes;
};

// What the server counts for the benchmark's connection: the statements it received and the pages
// InnoDB had to read from disk (the benchmark is the server's only client).
struct ServerCounters
{
    qint64 statements = 0;
    qint64 pagesRead = 0;

    static ServerCounters now(core::Db& db);
    ServerCounters operator-(const ServerCounters& other) const
    {
        return {statements - other.statements, pagesRead - other.pagesRead};
    }
};

// The counters over one command, less what reading them costs (taken twice with nothing between).
template <typename Work> ServerCounters countedOver(core::Db& db, Work&& work)
{
    static const ServerCounters reading = [&db] {
        const ServerCounters start = ServerCounters::now(db);
        return ServerCounters::now(db) - start;
    }();
    const ServerCounters start = ServerCounters::now(db);
    work();
    const ServerCounters used = ServerCounters::now(db) - start;
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
    double mean() const;
    double p95() const;

private:
    std::vector<double> m_ms;
};

// Where a command's time goes: every statement it sends, by its text, with the server's time for it
// (as the connection's statement log measures it), over a number of commands.
class StatementProfile
{
public:
    explicit StatementProfile(core::Db& db);
    ~StatementProfile();
    StatementProfile(const StatementProfile&) = delete;
    StatementProfile& operator=(const StatementProfile&) = delete;

    template <typename Work> void add(Work&& work)
    {
        m_on = true;
        work();
        m_on = false;
        ++m_commands;
    }
    void print(const char* title) const;

private:
    struct Entry
    {
        qint64 count = 0;
        qint64 micros = 0;
    };
    core::Db& m_db;
    std::map<std::string, Entry> m_entries;
    bool m_on = false;
    int m_commands = 0;
};

// The least a command of so many statements can cost, timed between the command's own runs so both
// see the same machine: that many round trips (SELECT 1); and the same where those that write are
// a row written and committed, which waits for the log on this machine's disk as every write does
// on a durable server.
class Floors
{
public:
    Floors(core::Db& db, Essentials essentials);
    void sample();
    Essentials essentials() const { return m_essentials; }
    const Timings& roundTrips() const { return m_roundTrips; }
    const Timings& durable() const { return m_durable; }

private:
    void roundTrips(int count);

    core::Db& m_db;
    Essentials m_essentials;
    Timings m_roundTrips;
    Timings m_durable;
};

// The measures of one kind of command, reported with its floors: the mean and the 95th percentile,
// each beside the floor's own, and the statements the server received per command.
void report(benchmark::State& state, const std::string& name, const Timings& timings, const Floors& floors,
            double statements, const QString& goal);

// Times, counts and profiles one kind of command on the connection db: before() runs untimed ahead
// of each; the statements and pages are counted, and then profiled, over `counted` more commands.
template <typename Before, typename Work>
void benchCommand(benchmark::State& state, core::Db& db, const char* name, Essentials essentials,
                  const QString& goal, Before&& before, Work&& work, int counted = 50)
{
    Floors floors(db, essentials);
    before();
    work(); // statements prepared
    floors.sample();
    Timings timings;
    for (auto _ : state) {
        // The benchmark's own time column is of the command alone, as the timings are.
        state.PauseTiming();
        before();
        state.ResumeTiming();
        timings.time(work);
        state.PauseTiming();
        floors.sample();
        state.ResumeTiming();
    }
    ServerCounters total;
    for (int i = 0; i < counted; ++i) {
        before();
        const ServerCounters used = countedOver(db, work);
        total.statements += used.statements;
        total.pagesRead += used.pagesRead;
    }
    state.counters["pages_read"] = double(total.pagesRead) / counted;
    report(state, name, timings, floors, double(total.statements) / counted, goal);
    StatementProfile profile(db);
    for (int i = 0; i < counted; ++i) {
        before();
        profile.add(work);
    }
    profile.print(name);
}

} // namespace carvendo::bench
