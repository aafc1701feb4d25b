// The counter sale at shop scale: the 100,000-item catalogue with two years of counter sales behind
// it (200,000 closed sales with their receipts, 600,000 rows). Measures what the cashier waits for:
// - every scan: the item found by its barcode, its row added (or a repeated scan merged into its
//   row) and the totals shown;
// - the closing of a 20-row sale, with its fiscal receipt handed to a file driver and as "Nuova"
//   (no receipt): numbered, posted to stock and the sales ledger, the next sale opened.
// Each beside two floors timed between its runs: the round trips it cannot do without, and the same
// where those that write wait for the disk as on any durable server. Counts the statements the
// server received and the pages it read from disk per command; a profile pass then gives each
// statement's time, and each closing step's.
//
// Goals: a scan within 1.5 times its round-trip floor and under 3 ms at the 95th percentile; a
// closing under 15 ms.
// Runs against its own private (durable) server in a temporary folder.
#include "bench/BenchMeasures.h"
#include "bench/BenchServer.h"
#include "bench/CommandBench.h"
#include "bench/StockCatalogue.h"
#include "core/Db.h"
#include "core/Paths.h"
#include "core/Privileges.h"
#include "core/Session.h"
#include "pos/FileReceiptDriver.h"
#include "pos/Sale.h"
#include "pos/SaleClosing.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <map>
#include <memory>
#include <vector>

using namespace carvendo;
using namespace carvendo::bench;

namespace {

std::unique_ptr<core::Db> g_db;

// A scan: the item looked up by its barcode, the sale's header locked, the row inserted or updated,
// the totals summed, the header's totals written, the commit.
constexpr Essentials kScan{6, 1};
// A closing with its receipt: the sale's rows read, the numbering lock and the year's largest
// number, the header claimed with its number, the receipt row, the stock of every row in one
// statement, the sales ledger, the commit; then the receipt marked as being handed over and as
// handed over, and the next sale's header.
constexpr Essentials kReceiptClosing{11, 4};
// "Nuova": the same without the receipt row and its two marks.
constexpr Essentials kNewSaleClosing{8, 2};
// A receipt's worth of rows: a sale is started again after so many, as at the counter.
constexpr int kRowsPerSale = 20;

const QString kWorkstation = QStringLiteral("CASSA-1");

// The till's side of the shop: every item in a fiscal department, and counter sales already closed
// with their receipts (the tables a scan and a closing write are not empty in a real shop).
void generateCounterSales(core::Db& db)
{
    db.execDirect(QStringLiteral("UPDATE articoli SET repartodesc = CONCAT('REPARTO', 1 + ID % 3)"));
    db.execDirect(QStringLiteral(
        "INSERT INTO banco (id, NumDoc, Anno, Mese, data, Ora, TipoDocumento, Operatore, idMagazzino, "
        "Magazzino, tipopagamento, vendita_sospesa, FatturaGen, RicevutaGen, ScadGenerata, imponibile, "
        "ivatotale, TotaleConto, totaledocumento, DaPagare, Pagato, Resto, Totalearticoli) "
        "SELECT seq, 1 + seq DIV 2, IF(seq % 2 = 0, YEAR(CURRENT_DATE) - 1, YEAR(CURRENT_DATE)), 'Gennaio', "
        "CURRENT_DATE - INTERVAL seq % 700 DAY, NOW() - INTERVAL seq % 700 DAY, 'Pos', 'admin', 1 + seq % 3, "
        "'SEDE', 'Contanti', 0, 0, 0, 0, 20, 4.4, 24.4, 24.4, 24.4, 30, 5.6, 3 FROM seq_1_to_200000"));
    db.execDirect(QStringLiteral(
        "INSERT INTO dettbanco (idBanco, NumDoc, idarticolo, Codice, Barcode, descrizione, reparto, "
        "quantita, QFISICA, PrezzoVendita, Pubblico, SubTotale, SubPubblico, Sconto, SN, TC, "
        "vendita_sospesa) SELECT 1 + seq DIV 3, 1 + (1 + seq DIV 3) DIV 2, 1 + seq % 100000, "
        "CONCAT('ART', LPAD(1 + seq % 100000, 7, '0')), CONCAT('80', LPAD(1 + seq % 100000, 11, '0')), "
        "'Articolo venduto', 'REPARTO1', 1, 1, 6.67, 8.13, 6.67, 8.13, 0, 0, 0, 0 FROM seq_0_to_599999"));
    db.exec(
        QStringLiteral("INSERT INTO scontrini (idBanco, NumDoc, Numero, Anno, Mese, Data, Ora, Cliente, "
                       "Operatore, idMagazzino, Magazzino, Resto, Totale, TipoPagamento, postazione, "
                       "stato_invio) SELECT id, NumDoc, NumDoc, Anno, Mese, DATE_FORMAT(data, '%d/%m/%Y'), "
                       "Ora, 'CLIENTE BANCO', Operatore, idMagazzino, Magazzino, Resto, TotaleConto, "
                       "'CONTANTI', :POSTAZIONE, 2 FROM banco"),
        {{QStringLiteral("POSTAZIONE"), kWorkstation}});
    db.execDirect(QStringLiteral("ANALYZE TABLE banco, dettbanco, scontrini"));
}

core::Session& tillSession()
{
    static core::Session session;
    if (!session.isLoggedIn())
        logInAsAdmin(session);
    return session;
}

void scanOrFail(pos::Sale& sale, const QString& barcode)
{
    if (!sale.addByBarcode(barcode))
        throw std::runtime_error("barcode not found: " + barcode.toStdString());
}

// A sale being rung up and the scans that fill it; a new sale replaces it every kRowsPerSale new
// rows, outside the timings.
class Till
{
public:
    // firstItem: where in the catalogue its items start, so each benchmark sells items of its own
    // (their pages not already read by another).
    explicit Till(int firstItem) : m_sale(*g_db, m_dialogs, tillSession()), m_item(firstItem)
    {
        m_sale.open();
    }
    ~Till()
    {
        try {
            m_sale.discard();
        } catch (const std::exception& e) {
            std::cerr << e.what() << std::endl;
        }
    }
    Till(const Till&) = delete;
    Till& operator=(const Till&) = delete;

    pos::Sale& sale() { return m_sale; }
    void startOverWhenFull()
    {
        if (m_sale.totals().totaleArticoli < kRowsPerSale)
            return;
        m_sale.discard();
        m_sale.open();
    }
    void ringUp(int rows)
    {
        for (int i = 0; i < rows; ++i)
            scanOrFail(m_sale, nextNewItem());
    }
    // An item not on the sale yet, spread over the catalogue.
    QString nextNewItem()
    {
        m_item = (m_item + 7919) % 100000 + 1;
        return generatedBarcode(m_item);
    }

private:
    SilentDialogs m_dialogs;
    pos::Sale m_sale;
    int m_item;
};

template <typename Before, typename Scan>
void benchScan(benchmark::State& state, const char* name, Before&& before, Scan&& scan)
{
    benchCommand(state, *g_db, name, kScan, QStringLiteral("<= 1.5 x floor, p95 < 3 ms"),
                 std::forward<Before>(before), std::forward<Scan>(scan));
}

void BM_ScanNewRow(benchmark::State& state)
{
    Till till(17);
    QString barcode;
    benchScan(
        state, "scan: new row",
        [&] {
            till.startOverWhenFull();
            barcode = till.nextNewItem();
        },
        [&] { scanOrFail(till.sale(), barcode); });
}
BENCHMARK(BM_ScanNewRow)->Unit(benchmark::kMillisecond)->Iterations(400);

// The same item scanned again: one more unit on its row, on a sale that already has ten rows.
void BM_ScanRepeated(benchmark::State& state)
{
    Till till(20017);
    for (int i = 0; i < kRowsPerSale / 2; ++i)
        scanOrFail(till.sale(), till.nextNewItem());
    const QString barcode = till.nextNewItem();
    benchScan(
        state, "scan: repeated (merged)", [] {}, [&] { scanOrFail(till.sale(), barcode); });
}
BENCHMARK(BM_ScanRepeated)->Unit(benchmark::kMillisecond)->Iterations(400);

// Where a closing's time goes: the time up to each step it passes (the closing's own probe and the
// driver's), and after the last one the next sale opened, mean over every closing run.
class ClosingSteps
{
public:
    pos::ClosingProbe probe()
    {
        return [this](pos::ClosingStep step) { mark(stepName(step)); };
    }
    template <typename Work> void run(Work&& work)
    {
        m_timer.start();
        m_last = 0;
        work();
        mark("next sale opened");
        ++m_closings;
    }
    void print(const char* title) const
    {
        std::printf("\n%s: ms up to each step, per closing\n", title);
        for (const auto& [name, ms] : m_steps)
            std::printf("  %8.3f  %s\n", ms / m_closings, name.c_str());
    }

private:
    static const char* stepName(pos::ClosingStep step)
    {
        switch (step) {
        case pos::ClosingStep::Claimed:
            return "01 claimed (receipt built, numbered)";
        case pos::ClosingStep::ReceiptRecorded:
            return "02 receipt row";
        case pos::ClosingStep::StockUnloaded:
            return "03 stock of every row (one call)";
        case pos::ClosingStep::LedgerWritten:
            return "04 sales ledger";
        case pos::ClosingStep::PaymentRecorded:
            return "05 payment";
        case pos::ClosingStep::Committed:
            return "06 commit";
        case pos::ClosingStep::HandOverStarted:
            return "07 receipt marked as being handed over";
        case pos::ClosingStep::DataFileWritten:
            return "08 data file written";
        case pos::ClosingStep::DataFileCopied:
            return "09 data file copied to the driver";
        case pos::ClosingStep::StartFileWritten:
            return "10 start file written";
        case pos::ClosingStep::StartFileCopied:
            return "11 start file copied to the driver";
        case pos::ClosingStep::HandedOver:
            return "12 receipt marked as handed over";
        }
        return "?";
    }
    void mark(const char* name)
    {
        const qint64 now = m_timer.nsecsElapsed();
        m_steps[name] += double(now - m_last) / 1e6;
        m_last = now;
    }

    QElapsedTimer m_timer;
    qint64 m_last = 0;
    std::map<std::string, double> m_steps;
    int m_closings = 0;
};

// A sale of kRowsPerSale items, each rung up (untimed) on the sale the last closing opened, closed.
void benchClosing(benchmark::State& state, const char* name, pos::ClosingKind kind, Essentials essentials,
                  int firstItem)
{
    const QTemporaryDir folder;
    const core::Paths paths(folder.path(), folder.path());
    if (!QDir().mkpath(paths.fiscalDriverDir({})))
        throw std::runtime_error("driver folder not made");
    pos::FileReceiptDriver driver(paths.receiptsDir(), paths.fiscalDriverDir({}));
    SilentDialogs dialogs;
    pos::SaleClosing closing(*g_db, dialogs, tillSession(), paths, driver, pos::TillSettings{}, kWorkstation);
    ClosingSteps steps;
    closing.setProbe(steps.probe());
    driver.setProbe(steps.probe());
    const bool withReceipt = kind != pos::ClosingKind::NewSale;
    Till till(firstItem);
    benchCommand(
        state, *g_db, name, essentials, QStringLiteral("< 15 ms"), [&] { till.ringUp(kRowsPerSale); },
        [&] {
            pos::ClosingOutcome outcome;
            steps.run([&] { outcome = closing.close(till.sale(), kind, {}); });
            if (outcome.result != pos::ClosingResult::Closed || outcome.handedOver != withReceipt)
                throw std::runtime_error(std::string(name) + ": not closed");
        });
    steps.print(name);
}

void BM_CloseWithReceipt(benchmark::State& state)
{
    benchClosing(state, "close 20 rows: receipt", pos::ClosingKind::FiscalReceipt, kReceiptClosing, 40000);
}
BENCHMARK(BM_CloseWithReceipt)->Unit(benchmark::kMillisecond)->Iterations(100);

void BM_CloseNewSale(benchmark::State& state)
{
    benchClosing(state, "close 20 rows: Nuova", pos::ClosingKind::NewSale, kNewSaleClosing, 70000);
}
BENCHMARK(BM_CloseNewSale)->Unit(benchmark::kMillisecond)->Iterations(100);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    BenchServer server; // durable, as a shop's server
    const int status = server.runOnCompany(
        QStringLiteral("bench_pos"),
        [](core::Db& db) {
            generateCatalogue(db, CatalogueSize{});
            generateCounterSales(db);
            warmSalesIndexes(db);
        },
        g_db);
    benchmark::Shutdown();
    return status;
}
