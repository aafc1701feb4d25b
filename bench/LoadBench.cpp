// Goods-in at shop scale: the 100,000-item catalogue with its sales and purchase history. Measures
// what an operator waits for at every scan of a delivery: the item found by its barcode, the row
// dialog filled, the row posted (row, purchase history, item mirror, warehouse stock, totals, in
// one transaction) and the load's rows read again — beside one round trip to the server in the
// same run, with the statements the server received per scan, and beside what one committed row
// costs on this machine's disk.
//
// Goals: a scanned row posted within 2 ms, in at most 12 round trips.
// Runs against its own private (durable) server in a temporary folder.
#include "bench/BenchMeasures.h"
#include "bench/BenchServer.h"
#include "bench/StockCatalogue.h"
#include "core/Db.h"
#include "core/Paths.h"
#include "core/Privileges.h"
#include "core/Session.h"
#include "stock/loads/Carichi.h"
#include "stock/loads/Carico.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <iostream>
#include <memory>

using namespace carvendo;
using namespace carvendo::bench;

namespace {

std::unique_ptr<core::Db> g_db;
std::unique_ptr<core::Paths> g_paths;

qint64 statementsReceived()
{
    return g_db->query(QStringLiteral("SHOW SESSION STATUS LIKE 'Questions'"))
        .first()[u"Value"]
        .toString()
        .toLongLong();
}

void BM_ScanToPostedRow(benchmark::State& state)
{
    core::Session session;
    logInAsAdmin(session);
    SilentDialogs dialogs;
    NoNavigator navigator;
    NoReports reports;
    stock::Carichi list(*g_db, session, *g_paths, dialogs, navigator, reports);
    stock::Carico load(*g_db, session, *g_paths, dialogs, navigator, reports);
    load.open(list.newLoad(), stock::Carico::Mode::New);
    load.setSupplier(g_db->scalar(QStringLiteral("SELECT MIN(id_fornitore) FROM fornitori")).toInt());

    int item = 1000;
    const auto scan = [&] {
        std::unique_ptr<stock::CaricoDialogo> row = load.rowForBarcode(generatedBarcode(item));
        row->setQuantityText(QStringLiteral("3"));
        load.confirmRow(*row);
        item += 97;
    };
    const double floorMs = roundTripMs(*g_db);
    scan(); // statements prepared
    const qint64 before = statementsReceived();
    double total = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        scan();
        total += double(timer.nsecsElapsed()) / 1e6;
    }
    // The status read itself is one statement.
    const double trips = double(statementsReceived() - before - 1) / double(state.iterations());
    const double ms = total / double(state.iterations());
    state.counters["x_floor"] = ms / floorMs;
    state.counters["round_trips"] = trips;
    state.counters["rows"] = double(load.rows().size());
    record("scan to posted row", ms, floorMs, QStringLiteral("SELECT 1"),
           QStringLiteral("<= 2 ms, <= 12 trips"), trips);
}

// What the server's durability alone costs a command: one row written and committed (the log
// flushed to disk), the least any posted row can take on this machine.
void BM_OneRowCommitted(benchmark::State& state)
{
    g_db->exec(QStringLiteral("CREATE TABLE IF NOT EXISTS bench_commit (id INT AUTO_INCREMENT PRIMARY KEY, "
                              "n INT) ENGINE=InnoDB"));
    measure(state, "one row committed", roundTripMs(*g_db), QStringLiteral("SELECT 1"), {}, [] {
        core::Transaction transaction(*g_db);
        g_db->exec(QStringLiteral("INSERT INTO bench_commit (n) VALUES (1)"));
        transaction.commit();
    });
}
BENCHMARK(BM_OneRowCommitted)->Unit(benchmark::kMillisecond)->Iterations(300);
BENCHMARK(BM_ScanToPostedRow)->Unit(benchmark::kMillisecond)->Iterations(300);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    g_paths = std::make_unique<core::Paths>(
        core::Paths::fromEnvironment(QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath()));
    BenchServer server; // durable, as a shop's server
    const int status = server.runOnCompany(
        QStringLiteral("bench_loads"), [](core::Db& db) { generateCatalogue(db, CatalogueSize{}); }, g_db);
    benchmark::Shutdown();
    return status;
}
