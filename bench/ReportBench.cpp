// Long lists through the print engine: 1,000, 10,000 and 100,000 items printed to a PDF file with
// the "Articoli" template (a barcode per row), as the item list prints them. Each size shows its
// total time, the time per row and that time as a multiple of the per-row time of a 100-row print
// measured in the same run ("x_100"): a list that costs the same per row at every size is laid
// out in linear time. Also the size of the file and the process's peak memory.
//
// Goal: 10,000 rows in a few seconds, 100,000 in well under a minute.
// The rows come from its own private server in a temporary folder.
#include "bench/BenchServer.h"
#include "core/Db.h"
#include "core/ReportRequest.h"
#include "report/ReportEngine.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <map>
#include <memory>

using namespace carvendo;

namespace {

const QString Company = QStringLiteral("bench_report");

std::unique_ptr<core::Db> g_db;
QString g_folder;
double g_baselineMsPerRow = 0;

struct Measure
{
    double ms = 0;
    double pdfMb = 0;
};
std::map<int, Measure> g_measures;

// The item list's columns for the first `count` generated items: codes, EAN-13 barcodes, long
// descriptions, prices and stock.
core::ReportRequest articoli(int count)
{
    core::ReportRequest request;
    request.templateName = QStringLiteral("Articoli");
    request.title = QStringLiteral("Articoli");
    request.values = {{"titolo", QStringLiteral("Elenco articoli")},
                      {"magazzino", QStringLiteral("MAGAZZINO CENTRALE")}};
    request.datasets[QStringLiteral("articoli")] = g_db->query(
        QStringLiteral("SELECT CONCAT('ART', LPAD(seq, 6, '0')) AS CodArticolo, "
                       "CONCAT('800', LPAD(seq, 9, '0')) AS BarcodeFull, "
                       "CONCAT('Cover silicone modello ', seq, ' colore nero opaco') AS Descrizione, "
                       "CAST(9.90 + seq % 50 AS DOUBLE) AS Pubblico, seq % 40 AS giacenza "
                       "FROM seq_1_to_100000 WHERE seq <= :N ORDER BY seq"),
        {{"N", count}});
    return request;
}

double printMs(const core::ReportRequest& request, const QString& path)
{
    const report::ReportEngine engine(QStringLiteral(CARVENDO_REPORT_DIR));
    QElapsedTimer timer;
    timer.start();
    engine.writePdf(request, path);
    return double(timer.nsecsElapsed()) / 1e6;
}

void BM_PrintArticoli(benchmark::State& state)
{
    const int rows = int(state.range(0));
    const core::ReportRequest request = articoli(rows);
    const QString path = g_folder + QStringLiteral("/Articoli_%1.pdf").arg(rows);
    double total = 0;
    for (auto _ : state)
        total += printMs(request, path);
    const double ms = total / double(state.iterations());
    const double pdfMb = double(QFileInfo(path).size()) / (1024.0 * 1024.0);
    state.counters["ms_per_row"] = ms / rows;
    state.counters["x_100"] = g_baselineMsPerRow > 0 ? ms / rows / g_baselineMsPerRow : 0;
    state.counters["pdf_MB"] = pdfMb;
    g_measures[rows] = {ms, pdfMb};
}
BENCHMARK(BM_PrintArticoli)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

double peakMemoryMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

void printSummary()
{
    std::printf("\n%-22s %12s %12s %10s %10s\n", "Articoli to PDF", "ms", "ms/row", "x_100", "PDF MB");
    std::printf("%-22s %12.1f %12.3f %10.2f %10s\n", "100 rows (baseline)", g_baselineMsPerRow * 100,
                g_baselineMsPerRow, 1.0, "");
    for (const auto& [rows, m] : g_measures)
        std::printf("%-22s %12.1f %12.3f %10.2f %10.1f\n", (std::to_string(rows) + " rows").c_str(), m.ms,
                    m.ms / rows, g_baselineMsPerRow > 0 ? m.ms / rows / g_baselineMsPerRow : 0.0, m.pdfMb);
    std::printf("peak memory: %.0f MB\n", peakMemoryMb());
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // fonts and images
    benchmark::Initialize(&argc, argv);
    bench::BenchServer server;
    const int status = server.run(
        [&] {
            g_db = std::make_unique<core::Db>(server.createCompany(Company));
            g_db->open();
            g_folder = server.folder();
            const core::ReportRequest hundred = articoli(100);
            printMs(hundred,
                    g_folder + QStringLiteral("/Articoli_100.pdf")); // fonts loaded, as for the others
            g_baselineMsPerRow = printMs(hundred, g_folder + QStringLiteral("/Articoli_100.pdf")) / 100;
            benchmark::RunSpecifiedBenchmarks();
            printSummary();
        },
        [] { g_db.reset(); });
    benchmark::Shutdown();
    return status;
}
