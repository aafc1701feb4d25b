// The immediate invoice at shop scale: the 100,000-item catalogue with two years of sales behind it
// and 20,000 invoices (100,000 rows) already issued. Measures what the operator waits for:
// - a row added to an invoice (SalesDocument::addItem after the quantity dialog): the item read, the
//   row written, the stock and the sales ledger moved, the totals rewritten, in one transaction;
// - "Salva" of a 50-row invoice whose three instalments are assigned: numbered under the numbering
//   lock, the rows renumbered, the totals and the commission written;
// - "Crea Pdf" of a 50-row invoice through the real template (Report/Fattura.html).
// Each beside the floors timed between its runs (the round trips it cannot do without, and the same
// with its writes committed as on any durable server); the statements the server received per
// command, then each statement's time.
//
// Goals: a row within 3 ms, a save within 20 ms, the PDF within 300 ms.
// Runs against its own private (durable) server in a temporary folder.
#include "bench/BenchMeasures.h"
#include "bench/BenchServer.h"
#include "bench/CommandBench.h"
#include "bench/StockCatalogue.h"
#include "core/Db.h"
#include "core/Paths.h"
#include "core/Session.h"
#include "documents/DocumentPdf.h"
#include "documents/InvoiceCashBook.h"
#include "documents/SalesDocument.h"
#include "report/FileReportOutput.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <iostream>
#include <memory>
#include <stdexcept>

using namespace carvendo;
using namespace carvendo::bench;

namespace {

std::unique_ptr<core::Db> g_db;

// A row: the item read, the header locked, the row looked for (an item already on the invoice grows
// instead), the row inserted, the item's stock, the warehouse's (the stock procedure), the sales
// record, the rows' sums, the header's totals, the commit.
constexpr Essentials kAddRow{10, 1};
// "Salva": the header locked, the numbering lock and the year's largest number, the number on the
// header and on its rows, the rows' sums, the header's totals, the commit.
constexpr Essentials kSave{8, 1};
// "Crea Pdf": the template's name, the header, the rows, the VAT summary, the serials, the bank.
constexpr Essentials kPdf{6, 0};
constexpr int kRowsPerInvoice = 50;

const documents::DocumentKind& invoiceKind()
{
    return documents::DocumentKind::of(documents::DocumentKindId::FatturaImmediata);
}

core::Session& operatorSession()
{
    static core::Session session;
    if (!session.isLoggedIn())
        logInAsAdmin(session);
    return session;
}

// The customers of the shop and the invoices it has issued over two years.
void generateInvoices(core::Db& db)
{
    db.execDirect(QStringLiteral(
        "INSERT INTO clienti (CodiceCliente, RagioneSociale, Indirizzo, Cap, Citta, ProvRes, pIva, Listino, "
        "Pagamento) SELECT seq, CONCAT('Cliente ', seq, ' Srl'), CONCAT('Via Roma ', seq), '20121', "
        "'Milano', "
        "'MI', LPAD(seq, 11, '0'), 'LISTINO1', 'Bonifico 30-60-90' FROM seq_1_to_2000"));
    db.execDirect(QStringLiteral(
        "INSERT INTO fatture (idFattura, NumDoc, Anno, Mese, data, TipoFattura, TipoDoc, DocProven, Causale, "
        "idCliente, RagioneSociale, idMagazzino, Magazzino, tipopagamento, imponibile, ivatotale, "
        "totaledocumento, Totalearticoli, Suffisso, Scadenzario, ScadGenerata, Colli) SELECT seq, 1 + seq "
        "DIV 2, "
        "IF(seq % 2 = 0, YEAR(CURRENT_DATE) - 1, YEAR(CURRENT_DATE)), 'Gennaio', CURRENT_DATE - INTERVAL seq "
        "% "
        "700 DAY, 'I', 'Fattura', 'I', 'Vendita', 1 + seq % 2000, CONCAT('Cliente ', 1 + seq % 2000, ' "
        "Srl'), "
        "1, 'SEDE', 'Bonifico 30-60-90', 50, 11, 61, 5, '', 0, 0, 1 FROM seq_1_to_20000"));
    db.execDirect(QStringLiteral(
        "INSERT INTO dettfattura (idFattura, NumDoc, idarticolo, Codice, Barcode, Descrizione, UnitaMisura, "
        "quantita, QFISICA, Aliquota, Sconto, Pubblico, PrezzoVendita, SubTotale, SubTotaleIvato, "
        "IvaSubtotale, "
        "SN, TC) SELECT 1 + seq DIV 5, 1 + (1 + seq DIV 5) DIV 2, 1 + seq % 100000, CONCAT('ART', LPAD(1 + "
        "seq "
        "% 100000, 7, '0')), CONCAT('80', LPAD(1 + seq % 100000, 11, '0')), 'Articolo fatturato', 'PZ', 1, "
        "1, "
        "22, 0, 12.2, 10, 10, 12.2, 2.2, 0, 0 FROM seq_0_to_99999"));
    db.execDirect(QStringLiteral(
        "INSERT INTO pagamenti (Descrizione, modalita, NrRate, TipoRate, TipoDecorrenza) VALUES "
        "('Bonifico 30-60-90', 'Bonifico', 3, 'Normale', 'Data Fattura')"));
    // The generated sales ledger names documents up to 333,333: new invoices come after them, as in a
    // shop where the newest document is the latest written.
    db.execDirect(QStringLiteral("ALTER TABLE fatture AUTO_INCREMENT = 400000"));
    db.execDirect(QStringLiteral("ANALYZE TABLE clienti, fatture, dettfattura"));
}

// Items of the catalogue not yet on the invoice being filled, spread over it; each benchmark starts
// at its own place so that it reads pages of its own.
class Catalogue
{
public:
    explicit Catalogue(int firstItem) : m_item(firstItem) {}
    int next()
    {
        m_item = (m_item + 7919) % 100000 + 1;
        return m_item;
    }

private:
    int m_item;
};

// An invoice being filled as the operator does it: each item priced for the customer (the quantity
// dialog opens with that price), then added.
class InvoiceDesk
{
public:
    explicit InvoiceDesk(int firstItem) : m_catalogue(firstItem) {}

    std::unique_ptr<documents::SalesDocument> open()
    {
        auto invoice =
            std::make_unique<documents::SalesDocument>(invoiceKind(), *g_db, m_dialogs, operatorSession());
        invoice->openNew();
        invoice->setCustomer(1 + m_catalogue.next() % 2000);
        return invoice;
    }
    // The next item and the price the dialog confirms for it.
    std::pair<int, core::Money> nextEntry(const documents::SalesDocument& invoice)
    {
        const int item = m_catalogue.next();
        return {item, invoice.priceOf(item).gross};
    }
    void add(documents::SalesDocument& invoice, const std::pair<int, core::Money>& entry)
    {
        if (!invoice.addItem(entry.first, 1, 0, entry.second))
            throw std::runtime_error("row not added");
    }
    void fill(documents::SalesDocument& invoice, int rows)
    {
        for (int i = 0; i < rows; ++i)
            add(invoice, nextEntry(invoice));
    }
    // The three instalments "Assegna rate" stores on the header.
    static void assignThreeInstalments(const documents::SalesDocument& invoice)
    {
        const core::Money third = invoice.totals().totaledocumento.dividedBy(core::Money::fromInt(3));
        g_db->exec(
            QStringLiteral("UPDATE fatture SET tipopagamento = 'Bonifico 30-60-90', NRATE = 3, PRATA1 = "
                           ":RATA, DRATA1 = CURRENT_DATE + INTERVAL 30 DAY, PRATA2 = :RATA, DRATA2 = "
                           "CURRENT_DATE + INTERVAL 60 DAY, PRATA3 = :ULTIMA, DRATA3 = CURRENT_DATE + "
                           "INTERVAL 90 DAY WHERE idFattura = :ID"),
            {{QStringLiteral("RATA"), third.toDouble()},
             {QStringLiteral("ULTIMA"), (invoice.totals().totaledocumento - third - third).toDouble()},
             {QStringLiteral("ID"), invoice.header().id}});
    }

private:
    SilentDialogs m_dialogs;
    Catalogue m_catalogue;
};

void BM_AddRow(benchmark::State& state)
{
    InvoiceDesk desk(31);
    auto invoice = desk.open();
    std::pair<int, core::Money> entry;
    benchCommand(
        state, *g_db, "invoice: add a row", kAddRow, QStringLiteral("<= 3 ms"),
        [&] {
            if (invoice->rows().size() >= kRowsPerInvoice) {
                invoice->discard();
                invoice = desk.open();
            }
            entry = desk.nextEntry(*invoice);
        },
        [&] { desk.add(*invoice, entry); });
}
BENCHMARK(BM_AddRow)->Unit(benchmark::kMillisecond)->Iterations(400);

void BM_Save(benchmark::State& state)
{
    InvoiceDesk desk(30031);
    std::unique_ptr<documents::SalesDocument> invoice;
    benchCommand(
        state, *g_db, "invoice: save 50 rows, 3 instalments", kSave, QStringLiteral("<= 20 ms"),
        [&] {
            invoice = desk.open();
            desk.fill(*invoice, kRowsPerInvoice);
            InvoiceDesk::assignThreeInstalments(*invoice);
        },
        [&] {
            // As the invoice window saves: the cash-book lines of the instalments go with the number.
            const bool saved =
                invoice->save([&](const documents::DocumentHeader& header, const documents::DocumentTotals&) {
                    const auto& kind =
                        documents::DocumentKind::of(documents::DocumentKindId::FatturaImmediata);
                    documents::InvoiceCashBook(*g_db, QLatin1String(kind.cashBookDocument)).write(header.id);
                });
            if (!saved)
                throw std::runtime_error("invoice not saved");
        },
        10);
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->Iterations(40);

core::CompanyHeading shopHeading()
{
    core::CompanyHeading heading;
    heading.ragioneSociale = QStringLiteral("Telefonia Bianchi Snc");
    heading.indirizzo = QStringLiteral("Via Roma 12");
    heading.cap = QStringLiteral("20121");
    heading.citta = QStringLiteral("Milano");
    heading.piva = QStringLiteral("01234567890");
    QImage logo(360, 120, QImage::Format_RGB32);
    logo.fill(QColor(31, 78, 121));
    QBuffer png(&heading.logo);
    png.open(QIODevice::WriteOnly);
    logo.save(&png, "PNG");
    return heading;
}

void BM_Pdf(benchmark::State& state)
{
    const QTemporaryDir folder;
    const core::Paths paths(folder.path(), folder.path());
    report::FileReportOutput output(QStringLiteral(CARVENDO_REPORT_DIR), folder.path());
    InvoiceDesk desk(60031);
    auto invoice = desk.open();
    desk.fill(*invoice, kRowsPerInvoice);
    InvoiceDesk::assignThreeInstalments(*invoice);
    if (!invoice->save())
        throw std::runtime_error("invoice not saved");
    const documents::DocumentPdf pdf(*g_db, paths, output, shopHeading());
    benchCommand(
        state, *g_db, "invoice: PDF of 50 rows", kPdf, QStringLiteral("<= 300 ms"), [] {},
        [&] { pdf.write(*invoice); }, 10);
}
BENCHMARK(BM_Pdf)->Unit(benchmark::kMillisecond)->Iterations(30);

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv); // the PDF's fonts
    benchmark::Initialize(&argc, argv);
    BenchServer server; // durable, as a shop's server
    const int status = server.runOnCompany(
        QStringLiteral("bench_invoice"),
        [](core::Db& db) {
            generateCatalogue(db, CatalogueSize{});
            generateInvoices(db);
            warmSalesIndexes(db);
        },
        g_db);
    benchmark::Shutdown();
    return status;
}
