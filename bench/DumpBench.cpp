// Dump and restore of a company database holding 100k sold rows (`venduti`): the time of a
// safety backup at closing and of a restore, with the size of the dump.
//
// Runs against its own private server (durable settings, as a shop's) in a temporary folder.
#include "bench/BenchServer.h"
#include "core/DatabaseDump.h"
#include "core/Db.h"

#include <QFileInfo>

#include <benchmark/benchmark.h>

using namespace carvendo::core;

namespace {

constexpr int SoldRows = 100000;
const QString Company = QStringLiteral("bench_dump");

ConnectionSettings g_settings;
QString g_dumpFile;
DatabaseDump g_dump;

void prepareCompany(const ConnectionSettings& company)
{
    Db db(company);
    db.open();
    // Set-based, through the server's sequence engine: one statement for all the rows.
    db.execDirect(QStringLiteral("INSERT INTO venduti (idCliente, idDoc, TipoDoc, idArticolo, "
                                 "PrezzoPubblico, Utile, Anno, Mese, PrezzoAcquisto, "
                                 "Sconto, PrezzoVendita, Codice, Descrizione, Tipo, idPagamento, "
                                 "TipoPagamento, idMagazzino, Magazzino) "
                                 "SELECT seq % 500, seq DIV 3, 'Pos', seq % 2000, 19.90, 7.45, '2026', "
                                 "LPAD(seq % 12 + 1, 2, '0'), 12.45, 0, "
                                 "19.90, CONCAT('A', seq % 2000), CONCAT('Cover silicone modello ', seq % "
                                 "2000, ' colore nero opaco'), "
                                 "'Vendita', 1, 'Contanti', 1, 'MAGAZZINO CENTRALE' FROM seq_1_to_100000"));
    if (db.scalar(QStringLiteral("SELECT COUNT(*) FROM venduti")).toInt() != SoldRows)
        throw std::runtime_error("venduti was not filled");
}

void BM_Dump(benchmark::State& state)
{
    for (auto _ : state)
        g_dump.dumpTo(g_settings, Company, g_dumpFile);
    state.counters["dump_MB"] = double(QFileInfo(g_dumpFile).size()) / (1024.0 * 1024.0);
    state.counters["rows"] = SoldRows;
}
BENCHMARK(BM_Dump)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Restore(benchmark::State& state)
{
    for (auto _ : state)
        g_dump.restoreFrom(g_settings, Company, g_dumpFile);
    state.counters["dump_MB"] = double(QFileInfo(g_dumpFile).size()) / (1024.0 * 1024.0);
    state.counters["rows"] = SoldRows;
}
BENCHMARK(BM_Restore)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    carvendo::bench::BenchServer server;
    const int status = server.run([&] {
        g_settings = server.rootSettings();
        g_dumpFile = server.folder() + QStringLiteral("/BACKUP_SICUREZZA.sql");
        prepareCompany(server.createCompany(Company));
        benchmark::RunSpecifiedBenchmarks();
    });
    benchmark::Shutdown();
    return status;
}
