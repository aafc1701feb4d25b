// Database round trips of the core layer, each also shown as a multiple of the round-trip floor
// (SELECT 1) measured in the same run ("x_floor").
//
// Runs against its own private server (durable settings, as a shop's) in a temporary folder.
#include "bench/BenchServer.h"
#include "core/CompanyDatabase.h"
#include "core/Db.h"
#include "core/Numbering.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>
#include <iostream>
#include <memory>

using namespace carvendo::core;

namespace {

std::unique_ptr<Db> g_db;
double g_floorMicros = 0;
int g_itemCount = 0;

double microsPerCall(int calls, const std::function<void()>& fn)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < calls; ++i)
        fn();
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::micro>(end - start).count() / calls;
}

// Runs the loop and adds the x_floor counter.
template <typename Fn> void measure(benchmark::State& state, Fn&& fn)
{
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        fn();
    const auto end = std::chrono::steady_clock::now();
    const double perCall =
        std::chrono::duration<double, std::micro>(end - start).count() / double(state.iterations());
    state.counters["x_floor"] = perCall / g_floorMicros;
}

void BM_RoundTripFloor(benchmark::State& state)
{
    measure(state, [] { benchmark::DoNotOptimize(g_db->scalar(QStringLiteral("SELECT 1")).toInt()); });
}
BENCHMARK(BM_RoundTripFloor)->Unit(benchmark::kMicrosecond);

void BM_PrimaryKeyLookup(benchmark::State& state)
{
    int id = 0;
    measure(state, [&] {
        id = id % g_itemCount + 1;
        const Rows rows = g_db->query(QStringLiteral("SELECT * FROM articoli WHERE ID = :ID"), {{"ID", id}});
        benchmark::DoNotOptimize(rows.size());
    });
}
BENCHMARK(BM_PrimaryKeyLookup)->Unit(benchmark::kMicrosecond);

// The same lookup reading three columns: the difference is the cost of a wide row (90 columns).
void BM_PrimaryKeyLookupNarrow(benchmark::State& state)
{
    int id = 0;
    measure(state, [&] {
        id = id % g_itemCount + 1;
        const Rows rows =
            g_db->query(QStringLiteral("SELECT ID, Descrizione, PrezzoVendita FROM articoli WHERE ID = :ID"),
                        {{"ID", id}});
        benchmark::DoNotOptimize(rows.size());
    });
}
BENCHMARK(BM_PrimaryKeyLookupNarrow)->Unit(benchmark::kMicrosecond);

void BM_NextNumberUnderLock(benchmark::State& state)
{
    measure(state, [] {
        NumberReservation reservation(*g_db, Series::Fattura);
        benchmark::DoNotOptimize(reservation.number());
    });
}
BENCHMARK(BM_NextNumberUnderLock)->Unit(benchmark::kMicrosecond);

void BM_NumberedHeaderInsert(benchmark::State& state)
{
    Numbering numbering(*g_db);
    measure(state, [&] {
        numbering.withNextNumber(Series::Preventivo, QString(), [](int number) {
            return g_db->exec(
                QStringLiteral("INSERT INTO preventivi (NumDoc, Anno) VALUES (:N, YEAR(CURRENT_DATE))"),
                {{"N", number}});
        });
    });
}
BENCHMARK(BM_NumberedHeaderInsert)->Unit(benchmark::kMicrosecond);

void BM_ScaricoMagazzino(benchmark::State& state)
{
    int id = 0;
    measure(state, [&] {
        id = id % g_itemCount + 1;
        g_db->call(QStringLiteral("SCARICO_MAGAZZINO"), {id, 1, 1.0});
    });
}
BENCHMARK(BM_ScaricoMagazzino)->Unit(benchmark::kMicrosecond);

void prepareCompany(Db& db)
{
    createCompanyDatabase(db, QStringLiteral("bench"), carvendo::bench::BenchServer::dbTemplate());
    db.execDirect(QStringLiteral("INSERT INTO magazzini (Descrizione) VALUES ('MAGAZZINO CENTRALE')"));
    g_itemCount = 2000;
    Transaction tx(db);
    for (int i = 1; i <= g_itemCount; ++i) {
        db.exec(QStringLiteral("INSERT INTO articoli (CodArticolo, Descrizione, BarcodeFull, PrezzoVendita) "
                               "VALUES (:COD, :DESC, :BAR, 9.9)"),
                {{"COD", QStringLiteral("A%1").arg(i)},
                 {"DESC", QStringLiteral("Articolo %1").arg(i)},
                 {"BAR", QString::number(8000000000000LL + i)}});
        db.call(QStringLiteral("CARICO_MAGAZZINO_INSERT"),
                {i, 1, QStringLiteral("MAGAZZINO CENTRALE"), 100.0});
    }
    tx.commit();
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    carvendo::bench::BenchServer server{QString()}; // the server's files in the temporary folder itself
    const int status = server.run(
        [&] {
            g_db = std::make_unique<Db>(server.rootSettings());
            g_db->open();
            prepareCompany(*g_db);
            for (int i = 0; i < 500; ++i) // warm the statement cache and the server
                g_db->scalar(QStringLiteral("SELECT 1"));
            g_floorMicros = microsPerCall(3000, [] { g_db->scalar(QStringLiteral("SELECT 1")); });
            std::cout << "round-trip floor (SELECT 1): " << g_floorMicros << " us" << std::endl;
            benchmark::RunSpecifiedBenchmarks();
        },
        [] { g_db.reset(); });
    benchmark::Shutdown();
    return status;
}
