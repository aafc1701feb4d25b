// Selling a size/colour by scanning its cell barcode: finding the cell among 10,000 grid rows (30
// barcodes each, one index per barcode column) and lowering it by one in a transaction, beside the
// round-trip floor (SELECT 1) measured in the same run.
//
// Runs against its own private server (durable settings, as a shop's) in a temporary folder.
#include "bench/BenchMeasures.h"
#include "bench/BenchServer.h"
#include "core/Db.h"
#include "stock/sizes/GridCells.h"
#include "stock/sizes/SizeColumns.h"

#include <QStringList>

#include <benchmark/benchmark.h>

#include <memory>

using namespace carvendo;
using namespace carvendo::core;

namespace {

constexpr int GridRows = 10000;

std::unique_ptr<Db> g_db;
double g_floorMs = 0;

template <typename Work> void measure(benchmark::State& state, const char* name, Work&& work)
{
    bench::measure(state, name, g_floorMs, QStringLiteral("SELECT 1"), {}, std::forward<Work>(work));
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

void BM_FindCellByBarcode(benchmark::State& state)
{
    stock::GridCells cells(*g_db);
    int i = 0;
    measure(state, "cell found by its barcode",
            [&] { benchmark::DoNotOptimize(cells.find(barcodeOf(i++))->size); });
}
BENCHMARK(BM_FindCellByBarcode)->Unit(benchmark::kMicrosecond);

void BM_SellOneByCellBarcode(benchmark::State& state)
{
    stock::GridCells cells(*g_db);
    int i = 0;
    measure(state, "cell found and lowered by one, committed", [&] {
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
            g_floorMs = bench::roundTripMs(*g_db);
            benchmark::RunSpecifiedBenchmarks();
            bench::printSummary();
        },
        [] { g_db.reset(); });
    benchmark::Shutdown();
    return status;
}
