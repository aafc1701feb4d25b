// Selling a size/colour by scanning its cell barcode: finding the cell among 10,000 grid rows (30
// barcodes each, one index per barcode column) and lowering it by one in a transaction, beside the
// round-trip floor (SELECT 1) measured in the same run ("x_floor").
//
// Runs against its own private server (durable settings, as a shop's) in a temporary folder.
#include "bench/BenchServer.h"
#include "core/Db.h"
#include "stock/sizes/GridCells.h"
#include "stock/sizes/SizeColumns.h"

#include <QStringList>

#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>
#include <iostream>
#include <memory>

using namespace carvendo;
using namespace carvendo::core;

namespace {

constexpr int GridRows = 10000;

std::unique_ptr<Db> g_db;
double g_floorMicros = 0;

double microsPerCall(int calls, const std::function<void()>& fn)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < calls; ++i)
        fn();
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::micro>(end - start).count() / calls;
}

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

// 10,000 grid rows of 30 cells; cell barcodes 64 + eleven digits, numbered row by row.
void fillGrid(Db& db)
{
    db.exec(QStringLiteral(
        "INSERT INTO taglie_tc (DESCRIZIONE, TG1, TG2, TG3) VALUES ('ADULTO', 'S', 'M', 'L')"));
    QStringList barcodes;
    for (int size = 1; size <= stock::kSizeCount; ++size)
        barcodes << QStringLiteral("CONCAT('64', LPAD(seq * 30 + %1, 11, '0'))").arg(size);
    db.execDirect(
        QStringLiteral(
            "INSERT INTO disptc (idarticolo, Gruppo_taglia, Colore, idmagazzino, Magazzino, %1, %2) "
            "SELECT seq DIV 10 + 1, 'ADULTO', CONCAT('COLORE ', seq MOD 10), 1, 'CENTRALE', %3, %4 "
            "FROM seq_0_to_%5")
            .arg(stock::quantityColumnList(), stock::barcodeColumnList(),
                 QStringLiteral("5, ").repeated(stock::kSizeCount - 1) + QStringLiteral("5"),
                 barcodes.join(QStringLiteral(", ")))
            .arg(GridRows - 1));
    db.execDirect(QStringLiteral("ANALYZE TABLE disptc"));
}

QString barcodeOf(int i)
{
    // Spread over the table: row i * 7919 mod 10000, size i mod 30 + 1.
    const qint64 row = (qint64(i) * 7919) % GridRows;
    return QStringLiteral("64") + QString::number(row * 30 + i % 30 + 1).rightJustified(11, u'0');
}

void BM_RoundTripFloor(benchmark::State& state)
{
    measure(state, [] { benchmark::DoNotOptimize(g_db->scalar(QStringLiteral("SELECT 1")).toInt()); });
}
BENCHMARK(BM_RoundTripFloor)->Unit(benchmark::kMicrosecond);

void BM_FindCellByBarcode(benchmark::State& state)
{
    stock::GridCells cells(*g_db);
    int i = 0;
    measure(state, [&] { benchmark::DoNotOptimize(cells.find(barcodeOf(i++))->size); });
}
BENCHMARK(BM_FindCellByBarcode)->Unit(benchmark::kMicrosecond);

void BM_SellOneByCellBarcode(benchmark::State& state)
{
    stock::GridCells cells(*g_db);
    int i = 0;
    measure(state, [&] {
        Transaction sale(*g_db);
        benchmark::DoNotOptimize(cells.sellOne(barcodeOf(i++))->quantity);
        sale.commit();
    });
}
BENCHMARK(BM_SellOneByCellBarcode)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    carvendo::bench::BenchServer server{QString()};
    const int status = server.run(
        [&] {
            g_db = std::make_unique<Db>(server.createCompany(QStringLiteral("bench_sizes")));
            g_db->open();
            fillGrid(*g_db);
            for (int i = 0; i < 500; ++i)
                g_db->scalar(QStringLiteral("SELECT 1"));
            g_floorMicros = microsPerCall(3000, [] { g_db->scalar(QStringLiteral("SELECT 1")); });
            std::cout << "round-trip floor (SELECT 1): " << g_floorMicros << " us" << std::endl;
            benchmark::RunSpecifiedBenchmarks();
        },
        [] { g_db.reset(); });
    benchmark::Shutdown();
    return status;
}
