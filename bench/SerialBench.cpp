// Serials at shop scale: 1,000,000 serials in stock, 1,000,000 sold (their links) and the history of
// both. Measures the serial finder's search (a serial in stock, a sold one, one that does not exist)
// and the capture of one serial at goods-in, each beside one round trip (SELECT 1) of the same run.
//
// Goal: a finder search under 10 ms.
// Runs against its own private (durable) server in a temporary folder.
#include "bench/BenchMeasures.h"
#include "bench/BenchServer.h"
#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/Navigator.h"
#include "core/Session.h"
#include "stock/serials/LoadSerialCapture.h"
#include "stock/serials/Seriali.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <iostream>
#include <map>
#include <memory>

using namespace carvendo;
using namespace carvendo::core;

namespace {

const QString Company = QStringLiteral("bench_serials");
constexpr int Serials = 1000000;
constexpr int Items = 1000;

std::unique_ptr<Db> g_db;

// The serials of the generated shop: in stock "35" and sold "86", followed by 13 digits.
QString serialInStock(int n)
{
    return QStringLiteral("35%1").arg(n, 13, 10, QLatin1Char('0'));
}
QString soldSerial(int n)
{
    return QStringLiteral("86%1").arg(n, 13, 10, QLatin1Char('0'));
}

// Items, serials in stock and sold, and the history of each, set-based through the sequence engine.
void generateSerials(Db& db)
{
    const QString count = QString::number(Serials);
    db.execDirect(QStringLiteral("INSERT INTO articoli (ID, CodArticolo, Descrizione, Barcode, Seriale) "
                                 "SELECT seq, CONCAT('TEL', seq), CONCAT('Telefono modello ', seq), "
                                 "LPAD(seq, 13, '8'), 1 FROM seq_1_to_%1")
                      .arg(Items));
    db.execDirect(
        QStringLiteral("INSERT INTO seriali (idArticolo, CodArticolo, Descrizione, Barcode, Seriale, "
                       "Disponibile, idCarico, idFornitore, idMagazzino, Magazzino, idOperatore, Operatore) "
                       "SELECT 1 + seq % %2, CONCAT('TEL', 1 + seq % %2), 'Telefono', '8000000000001', "
                       "CONCAT('35', LPAD(seq, 13, '0')), 1, 1 + seq DIV 50, 1, 1, 'SEDE', 1, 'admin' "
                       "FROM seq_1_to_%1")
            .arg(count)
            .arg(Items));
    db.execDirect(
        QStringLiteral("INSERT INTO serialidocumenti (Documento, idDocumento, Seriale, idArticolo, idCarico, "
                       "codarticolo, descrizione, barcode, idFornitore, idCliente, DataScarico, idMagazzino, "
                       "Magazzino, idOperatore, Operatore) "
                       "SELECT ELT(1 + seq % 4, 'Pos', 'Fattura', 'Ddt', 'Cat'), 1 + seq DIV 3, "
                       "CONCAT('86', LPAD(seq, 13, '0')), 1 + seq % %2, 1 + seq DIV 50, CONCAT('TEL', 1 + "
                       "seq % %2), 'Telefono', '8000000000001', 1, 1 + seq % 5000, "
                       "CURRENT_DATE - INTERVAL seq % 700 DAY, 1, 'SEDE', 1, 'admin' FROM seq_1_to_%1")
            .arg(count)
            .arg(Items));
    const QString history = QStringLiteral(
        "INSERT INTO storicoseriali (Data, Seriale, idArticolo, Evento, Documento, idDocumento, "
        "NumeroDocumento, "
        "idCarico, idSoggetto, Soggetto, Motivo, idMagazzino, Magazzino, idOperatore, Operatore) ");
    db.execDirect(history + QStringLiteral(
                                "SELECT NOW() - INTERVAL 800 DAY, Seriale, idArticolo, 'Caricato', 'Carico', "
                                "idCarico, idCarico, idCarico, 1, 'Fornitore 1', '', 1, 'SEDE', 1, 'admin' "
                                "FROM seriali"));
    db.execDirect(history + QStringLiteral(
                                "SELECT NOW() - INTERVAL 800 DAY, Seriale, idArticolo, 'Caricato', 'Carico', "
                                "idCarico, idCarico, idCarico, 1, 'Fornitore 1', '', 1, 'SEDE', 1, 'admin' "
                                "FROM serialidocumenti"));
    db.execDirect(history + QStringLiteral(
                                "SELECT DataScarico, Seriale, idArticolo, 'Venduto', Documento, "
                                "idDocumento, idDocumento, idCarico, idCliente, 'Cliente', '', 1, 'SEDE', 1, "
                                "'admin' FROM serialidocumenti"));
    db.execDirect(QStringLiteral("ANALYZE TABLE seriali, serialidocumenti, storicoseriali"));
}

double g_roundTripMs = 0;

void BM_RoundTrip(benchmark::State& state)
{
    bench::measure(state, "round trip (SELECT 1)", 0, {}, {},
                   [] { g_db->scalar(QStringLiteral("SELECT 1")); });
    g_roundTripMs = bench::roundTripMs(*g_db);
}
BENCHMARK(BM_RoundTrip)->Unit(benchmark::kMicrosecond)->Iterations(500);

template <typename Work>
void measure(benchmark::State& state, const char* name, const QString& goal, Work&& work)
{
    bench::measure(state, name, g_roundTripMs, QStringLiteral("SELECT 1"), goal, std::forward<Work>(work));
}

Session& benchSession()
{
    static Session session;
    if (!session.isLoggedIn())
        session.logIn(Operator{1, QStringLiteral("admin"), QStringLiteral("admin"), {}, {}},
                      Warehouse{1, QStringLiteral("SEDE")}, Privileges{});
    return session;
}

// One search of the finder: the serial's row or link, its facts and its timeline.
void findEach(benchmark::State& state, const char* name, QString (*serial)(int))
{
    bench::SilentDialogs dialogs;
    bench::NoNavigator navigator;
    stock::Seriali finder(*g_db, benchSession(), dialogs, navigator);
    int n = 17;
    measure(state, name, QStringLiteral("< 10 ms"), [&] {
        finder.search(serial(n));
        benchmark::DoNotOptimize(finder.facts().size());
        n = (n + 7919) % Serials + 1;
    });
    state.counters["events"] = finder.timeline().size();
}

void BM_FindInStock(benchmark::State& state)
{
    findEach(state, "finder: serial in stock", serialInStock);
}
BENCHMARK(BM_FindInStock)->Unit(benchmark::kMillisecond)->Iterations(300);

void BM_FindSold(benchmark::State& state)
{
    findEach(state, "finder: sold serial", soldSerial);
}
BENCHMARK(BM_FindSold)->Unit(benchmark::kMillisecond)->Iterations(300);

void BM_FindMissing(benchmark::State& state)
{
    findEach(state, "finder: serial not found",
             [](int n) { return QStringLiteral("99%1").arg(n, 13, 10, QLatin1Char('0')); });
}
BENCHMARK(BM_FindMissing)->Unit(benchmark::kMillisecond)->Iterations(300);

void BM_CaptureAtLoad(benchmark::State& state)
{
    bench::SilentDialogs dialogs;
    const stock::SerialItem item{5, QStringLiteral("TEL5"), QStringLiteral("Telefono modello 5"),
                                 QStringLiteral("8888888888885")};
    stock::LoadSerialCapture capture(*g_db, dialogs, 999999, 1, item,
                                     {1, QStringLiteral("admin"), 1, QStringLiteral("SEDE")});
    int n = 0;
    measure(state, "capture of one serial at goods-in", QString(), [&] {
        benchmark::DoNotOptimize(capture.add(QStringLiteral("77%1").arg(++n, 13, 10, QLatin1Char('0')),
                                             stock::SerialEntry::Enter));
    });
    capture.discard();
}
BENCHMARK(BM_CaptureAtLoad)->Unit(benchmark::kMillisecond)->Iterations(300);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    bench::BenchServer server; // durable, as a shop's server
    const int status = server.runOnCompany(
        Company, [](Db& db) { generateSerials(db); }, g_db);
    benchmark::Shutdown();
    return status;
}
