// The customer list on a registry of 100,000 customers: opening the list (its first page) and a
// search by name, as the list window runs them.
//
// Runs against its own private server in a temporary folder.
#include "bench/BenchServer.h"
#include "core/Db.h"
#include "registry/RegistryList.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace carvendo;
using namespace carvendo::core;

namespace {

constexpr int Customers = 100000;
const QString Company = QStringLiteral("bench_registry");

std::unique_ptr<Db> g_db;

void prepareCompany(const ConnectionSettings& company)
{
    Db db(company);
    db.open();
    // Set-based, through the server's sequence engine: one statement for all the rows.
    db.execDirect(QStringLiteral(
        "INSERT INTO clienti (CodiceCliente, RagioneSociale, Cognome, Nome, Indirizzo, Citta, ProvRes, Cap, "
        "CodFisc, "
        "pIva, Telefono, email, Listino) "
        "SELECT seq, CONCAT(ELT(seq % 8 + 1, 'Rossi', 'Bianchi', 'D''Amico', 'Esposito', 'Ferrari', 'Russo', "
        "'Romano', "
        "'Colombo'), ' ', ELT(seq % 6 + 1, 'Mario', 'Luca', 'Anna', 'Sara', 'Paolo', 'Giulia'), ' ', seq), "
        "'Cognome', 'Nome', CONCAT('Via Roma ', seq), 'Forlì', 'FC', '47121', CONCAT('CF', LPAD(seq, 14, "
        "'0')), "
        "LPAD(seq, 11, '0'), '0543 000000', CONCAT('cliente', seq, '@esempio.it'), 'LISTINO1' FROM "
        "seq_1_to_100000"));
    if (db.scalar(QStringLiteral("SELECT COUNT(*) FROM clienti")).toInt() != Customers)
        throw std::runtime_error("clienti was not filled");
    // CARVENDO_BENCH_NAME_INDEX=1 measures the same with an index on the name.
    if (qEnvironmentVariableIntValue("CARVENDO_BENCH_NAME_INDEX") == 1)
        db.execDirect(QStringLiteral("CREATE INDEX ix_RagioneSociale ON clienti (RagioneSociale)"));
}

void BM_OpenCustomerList(benchmark::State& state)
{
    registry::RegistrySearch search(registry::RegistryKind::customers(), *g_db);
    for (auto _ : state) {
        search.search(registry::SearchMode::All, {});
        benchmark::DoNotOptimize(search.rows().size());
    }
    state.counters["rows_shown"] = search.rows().size();
    state.counters["customers"] = Customers;
}
BENCHMARK(BM_OpenCustomerList)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_SearchCustomerByName(benchmark::State& state)
{
    registry::RegistrySearch search(registry::RegistryKind::customers(), *g_db);
    for (auto _ : state) {
        search.search(registry::SearchMode::Name, QStringLiteral("D'Amico Anna 4"));
        benchmark::DoNotOptimize(search.rows().size());
    }
    state.counters["rows_found"] = search.rows().size();
}
BENCHMARK(BM_SearchCustomerByName)->Unit(benchmark::kMillisecond)->Iterations(20);

// A name that only one customer has: the whole name column is read.
void BM_SearchRareName(benchmark::State& state)
{
    registry::RegistrySearch search(registry::RegistryKind::customers(), *g_db);
    for (auto _ : state) {
        search.search(registry::SearchMode::Name, QStringLiteral("Anna 99986"));
        benchmark::DoNotOptimize(search.rows().size());
    }
    state.counters["rows_found"] = search.rows().size();
}
BENCHMARK(BM_SearchRareName)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    carvendo::bench::BenchServer server;
    const int status = server.run(
        [&] {
            const ConnectionSettings settings = server.createCompany(Company);
            prepareCompany(settings);
            g_db = std::make_unique<Db>(settings);
            g_db->open();
            benchmark::RunSpecifiedBenchmarks();
        },
        [] { g_db.reset(); });
    benchmark::Shutdown();
    return status;
}
