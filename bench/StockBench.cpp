// Stock at shop scale: 100,000 items, 3 warehouses, 1,000,000 sales rows and 1,000,000 purchase
// rows. Measures what an operator waits for — finding an item by barcode and by the start of its
// description, opening the item list, realigning one item, the inventory of every warehouse, the
// under-stock list, a new warehouse — each beside the cost of the least the server can do for it
// in the same run: one round trip (SELECT 1), or a plain SELECT of the same rows.
//
// Goals: a search under 20 ms, the item list under 300 ms, the inventory under 3 s.
// Runs against its own private (durable) server in a temporary folder.
#include "bench/BenchMeasures.h"
#include "bench/BenchServer.h"
#include "bench/StockCatalogue.h"
#include "core/Clock.h"
#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/Navigator.h"
#include "core/Paths.h"
#include "core/ReportOutput.h"
#include "core/Session.h"
#include "stock/Articoli.h"
#include "stock/Inventario.h"
#include "stock/ItemSearch.h"
#include "stock/Sottoscorta.h"
#include "stock/StockRealignment.h"
#include "stock/Warehouses.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <vector>

using namespace carvendo;
using namespace carvendo::core;
using namespace carvendo::bench;

namespace {

const QString Company = QStringLiteral("bench_stock");
constexpr int Items = 100000;

std::unique_ptr<Db> g_db;
std::unique_ptr<Paths> g_paths;

class BenchClock final : public Clock
{
public:
    QDateTime now() const override { return QDateTime(QDate(2026, 12, 6), QTime(10, 0)); }
};

void BM_RoundTrip(benchmark::State& state)
{
    measure(state, "round trip (SELECT 1)", 0, QString(), QString(),
            [] { g_db->scalar(QStringLiteral("SELECT 1")); });
}
BENCHMARK(BM_RoundTrip)->Unit(benchmark::kMicrosecond)->Iterations(200);

void BM_SearchByBarcode(benchmark::State& state)
{
    stock::ItemSearch search(*g_db);
    search.setWarehouse(1);
    const QString barcode = bench::generatedBarcode(54321);
    measure(state, "search by barcode", roundTripMs(*g_db), QStringLiteral("SELECT 1"),
            QStringLiteral("< 20 ms"), [&] {
                search.byField(stock::ItemField::Barcode, stock::MatchMode::Exact, barcode);
                benchmark::DoNotOptimize(search.rows().size());
            });
    state.counters["rows"] = search.rows().size();
}
BENCHMARK(BM_SearchByBarcode)->Unit(benchmark::kMillisecond)->Iterations(50);

void BM_SearchByDescriptionPrefix(benchmark::State& state)
{
    stock::ItemSearch search(*g_db);
    search.setWarehouse(1);
    const QString prefix = bench::generatedDescriptionPrefix();
    const int page = search.pageSize();
    const double floorMs = meanMs([&] {
        g_db->query(
            QStringLiteral("SELECT * FROM articoli WHERE Descrizione LIKE :P ORDER BY Descrizione LIMIT :N"),
            {{QStringLiteral("P"), prefix + QLatin1Char('%')}, {QStringLiteral("N"), page}});
    });
    measure(state, "search by description prefix (first page)", floorMs,
            QStringLiteral("plain SELECT of the page"), QStringLiteral("< 20 ms"), [&] {
                search.byField(stock::ItemField::Descrizione, stock::MatchMode::StartsWith, prefix);
                benchmark::DoNotOptimize(search.rows().size());
            });
    state.counters["rows"] = search.rows().size();
}
BENCHMARK(BM_SearchByDescriptionPrefix)->Unit(benchmark::kMillisecond)->Iterations(30);

void BM_OpenItemList(benchmark::State& state)
{
    Session session;
    session.logIn(
        Operator{1, QStringLiteral("admin"), QStringLiteral("admin"), {}, QStringLiteral("AMMINISTRATORI")},
        Warehouse{1, QStringLiteral("SEDE")}, Privileges{});
    SilentDialogs dialogs;
    NoNavigator navigator;
    stock::Articoli list(*g_db, session, *g_paths, dialogs, navigator);
    const int page = list.search().pageSize();
    const double floorMs = meanMs([&] {
        g_db->query(QStringLiteral("SELECT * FROM articoli ORDER BY Descrizione LIMIT :N"),
                    {{QStringLiteral("N"), page}});
    });
    measure(state, "open the item list (first page)", floorMs, QStringLiteral("plain SELECT of the page"),
            QStringLiteral("< 300 ms"), [&] {
                list.open();
                benchmark::DoNotOptimize(list.rows().size());
            });
    state.counters["rows"] = list.rows().size();
}
BENCHMARK(BM_OpenItemList)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_RealignOneItem(benchmark::State& state)
{
    stock::StockRealignment realignment(*g_db);
    const Warehouse warehouse{1, QStringLiteral("SEDE")};
    int item = 1000;
    measure(state, "realign one item", roundTripMs(*g_db), QStringLiteral("SELECT 1"), QString(), [&] {
        realignment.realign(item, warehouse);
        item += 7;
    });
}
BENCHMARK(BM_RealignOneItem)->Unit(benchmark::kMillisecond)->Iterations(100);

void BM_InventoryOfAllWarehouses(benchmark::State& state)
{
    stock::InventoryOptions options; // every warehouse, every stock row
    const double floorMs = meanMs(
        [] {
            g_db->query(QStringLiteral(
                "SELECT a.CodArticolo, a.Descrizione, a.PrezzoAcqnoiva, a.Pubblico, a.Listino2, a.Listino3, "
                "g.giacenza, g.disponibilita, g.magazzino FROM articoli a JOIN giacenze g ON g.idarticolo = "
                "a.ID"));
        },
        3);
    SilentDialogs dialogs;
    NoReports reports;
    BenchClock clock;
    stock::Inventario inventory(*g_db, g_db->settings(), *g_paths, clock, dialogs, reports, core::runHere);
    measure(state, "inventory of all warehouses", floorMs, QStringLiteral("plain SELECT of its rows"),
            QStringLiteral("< 3 s"), [&] {
                inventory.run(); // fills `inventario`, reads the totals and the first page
                benchmark::DoNotOptimize(inventory.totals().totGiac);
            });
    state.counters["rows"] = g_db->scalar(QStringLiteral("SELECT COUNT(*) FROM inventario")).toInt();
}
BENCHMARK(BM_InventoryOfAllWarehouses)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_UnderStockList(benchmark::State& state)
{
    const double floorMs = meanMs([] {
        g_db->query(
            QStringLiteral("SELECT ID, CodArticolo, Descrizione, Barcode, Fornitore, giacenza, Scorta, "
                           "PrezzoAcquisto, UM, Aliquota FROM articoli WHERE giacenza <= Scorta"));
    });
    SilentDialogs dialogs;
    NoReports reports;
    BenchClock clock;
    stock::Sottoscorta list(*g_db, clock, dialogs, reports);
    measure(state, "under-stock list (rebuilt and shown)", floorMs,
            QStringLiteral("plain SELECT of its rows"), QString(), [&] {
                list.open();
                benchmark::DoNotOptimize(list.rows().size());
            });
    state.counters["rows"] = list.rows().size();
}
BENCHMARK(BM_UnderStockList)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_NewWarehouse(benchmark::State& state)
{
    g_db->exec(QStringLiteral("INSERT INTO magazzini (idMagazzino, Descrizione) VALUES (9, 'NUOVO')"));
    const double floorMs =
        meanMs([] { g_db->query(QStringLiteral("SELECT ID, giacenza FROM articoli")); }, 5);
    stock::Warehouses warehouses(*g_db);
    double total = 0;
    for (auto _ : state) {
        state.PauseTiming();
        g_db->exec(QStringLiteral("DELETE FROM giacenze WHERE idmagazzino = 9"));
        state.ResumeTiming();
        QElapsedTimer timer;
        timer.start();
        benchmark::DoNotOptimize(warehouses.addMissingStockRows(9, QStringLiteral("NUOVO")));
        total += double(timer.nsecsElapsed()) / 1e6;
    }
    const double ms = total / double(state.iterations());
    state.counters["floor_ms"] = floorMs;
    state.counters["x_floor"] = ms / floorMs;
    record("new warehouse (a stock row per item)", ms, floorMs, QStringLiteral("plain SELECT of the items"),
           {});
    g_db->exec(QStringLiteral("DELETE FROM giacenze WHERE idmagazzino = 9"));
    g_db->exec(QStringLiteral("DELETE FROM magazzini WHERE idMagazzino = 9"));
}
BENCHMARK(BM_NewWarehouse)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    g_paths = std::make_unique<Paths>(
        Paths::fromEnvironment(QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath()));
    bench::BenchServer server; // durable, as a shop's server
    const int status = server.runOnCompany(
        Company, [](Db& db) { bench::generateCatalogue(db, bench::CatalogueSize{}); }, g_db);
    benchmark::Shutdown();
    return status;
}
