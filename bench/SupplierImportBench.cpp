// A supplier's electronic invoice of 500 lines received into goods-in, on the 100,000-item shop: the
// file read and checked against the official schema, the supplier and each line's item found (450
// by barcode, 50 new items made from their lines), and the load posted with its deadlines in one
// transaction.
//
// Goal: under 2 s.
// Runs against its own private (durable) server in a temporary folder.
#include "bench/BenchMeasures.h"
#include "bench/BenchServer.h"
#include "bench/StockCatalogue.h"
#include "core/Db.h"
#include "core/Session.h"
#include "stock/loads/SupplierInvoiceImport.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <memory>

using namespace carvendo;
using namespace carvendo::bench;

namespace {

std::unique_ptr<core::Db> g_db;

const QString SupplierVat = QStringLiteral("07654321098");

QString euros(qint64 cents)
{
    return QStringLiteral("%1.%2").arg(cents / 100).arg(cents % 100, 2, 10, QLatin1Char('0'));
}

// The file: lines of 3 pieces at 22%, the first 450 with a catalogue barcode, the rest with codes
// the shop does not have; paid in three instalments.
QByteArray invoiceFile(int number)
{
    QString lines;
    qint64 taxable = 0;
    for (int i = 1; i <= 500; ++i) {
        const qint64 price = 100 + i;
        const QString code =
            i <= 450 ? generatedBarcode(1000 + i * 37) : QStringLiteral("NUOVO-%1-%2").arg(number).arg(i);
        const QString kind = i <= 450 ? QStringLiteral("EAN") : QStringLiteral("Codice fornitore");
        taxable += 3 * price;
        lines += QStringLiteral(
                     "<DettaglioLinee><NumeroLinea>%1</NumeroLinea><CodiceArticolo><CodiceTipo>%2"
                     "</CodiceTipo><CodiceValore>%3</CodiceValore></CodiceArticolo><Descrizione>Articolo "
                     "%1</Descrizione><Quantita>3.00</Quantita><PrezzoUnitario>%4</PrezzoUnitario>"
                     "<PrezzoTotale>%5</PrezzoTotale><AliquotaIVA>22.00</AliquotaIVA></DettaglioLinee>")
                     .arg(i)
                     .arg(kind, code, euros(price), euros(3 * price));
    }
    const qint64 tax = (taxable * 22 + 50) / 100;
    const qint64 third = (taxable + tax) / 3;
    QString payments;
    for (int i = 0; i < 3; ++i)
        payments += QStringLiteral("<DettaglioPagamento><ModalitaPagamento>MP05</ModalitaPagamento>"
                                   "<DataScadenzaPagamento>2026-0%1-28</DataScadenzaPagamento>"
                                   "<ImportoPagamento>%2</ImportoPagamento></DettaglioPagamento>")
                        .arg(4 + i)
                        .arg(euros(i < 2 ? third : taxable + tax - 2 * third));
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?><p:FatturaElettronica versione=\"FPR12\" "
               "xmlns:p=\"http://ivaservizi.agenziaentrate.gov.it/docs/xsd/fatture/v1.2\">"
               "<FatturaElettronicaHeader><DatiTrasmissione><IdTrasmittente><IdPaese>IT</IdPaese><IdCodice>%1"
               "</IdCodice></IdTrasmittente><ProgressivoInvio>%2</ProgressivoInvio><FormatoTrasmissione>FPR12"
               "</FormatoTrasmissione><CodiceDestinatario>0000000</CodiceDestinatario></DatiTrasmissione>"
               "<CedentePrestatore><DatiAnagrafici><IdFiscaleIVA><IdPaese>IT</IdPaese><IdCodice>%1</IdCodice>"
               "</IdFiscaleIVA><Anagrafica><Denominazione>Grossista</Denominazione></"
               "Anagrafica><RegimeFiscale>RF01"
               "</RegimeFiscale></DatiAnagrafici><Sede><Indirizzo>Via Po "
               "1</Indirizzo><CAP>10121</CAP><Comune>"
               "Torino</Comune><Nazione>IT</Nazione></Sede></CedentePrestatore><CessionarioCommittente>"
               "<DatiAnagrafici><IdFiscaleIVA><IdPaese>IT</IdPaese><IdCodice>01234567890</IdCodice></"
               "IdFiscaleIVA>"
               "<Anagrafica><Denominazione>Negozio</Denominazione></Anagrafica></"
               "DatiAnagrafici><Sede><Indirizzo>"
               "Via Roma 1</Indirizzo><CAP>00184</CAP><Comune>Roma</Comune><Nazione>IT</Nazione></Sede>"
               "</CessionarioCommittente></FatturaElettronicaHeader><FatturaElettronicaBody><DatiGenerali>"
               "<DatiGeneraliDocumento><TipoDocumento>TD01</TipoDocumento><Divisa>EUR</"
               "Divisa><Data>2026-03-10"
               "</Data><Numero>B-%2</Numero><ImportoTotaleDocumento>%3</ImportoTotaleDocumento>"
               "</DatiGeneraliDocumento></DatiGenerali><DatiBeniServizi>%4<DatiRiepilogo><AliquotaIVA>22.00"
               "</AliquotaIVA><ImponibileImporto>%5</ImponibileImporto><Imposta>%6</Imposta></DatiRiepilogo>"
               "</DatiBeniServizi><DatiPagamento><CondizioniPagamento>TP01</CondizioniPagamento>%7</"
               "DatiPagamento>"
               "</FatturaElettronicaBody></p:FatturaElettronica>")
        .arg(SupplierVat, QString::number(number), euros(taxable + tax), lines, euros(taxable), euros(tax),
             payments)
        .toUtf8();
}

// Every line the shop lacks becomes a new item.
class CreateEveryItem final : public stock::UnmatchedLineResolver
{
public:
    std::optional<QList<stock::LineResolution>>
    resolve(const QList<einvoice::SupplierInvoiceLine>& lines) override
    {
        return QList<stock::LineResolution>(lines.size(), stock::LineResolution::create());
    }
};

void BM_ImportSupplierInvoice(benchmark::State& state)
{
    core::Session session;
    logInAsAdmin(session);
    SilentDialogs dialogs;
    CreateEveryItem resolver;
    QTemporaryDir folder;
    g_db->exec(QStringLiteral("UPDATE fornitori SET PIva = :PIVA ORDER BY id_fornitore LIMIT 1"),
               {{QStringLiteral("PIVA"), SupplierVat}});
    int number = 0;
    const auto importOne = [&] {
        const QString path = folder.filePath(QStringLiteral("fattura-%1.xml").arg(++number));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(invoiceFile(number));
        file.close();
        QElapsedTimer timer;
        timer.start();
        stock::SupplierInvoiceImport(*g_db, session, dialogs).importFile(path, resolver);
        return double(timer.nsecsElapsed()) / 1e6;
    };
    importOne(); // statements prepared, schema loaded once
    double total = 0;
    for (auto _ : state)
        total += importOne();
    const double ms = total / double(state.iterations());
    record("supplier e-invoice of 500 lines imported", ms, roundTripMs(*g_db), QStringLiteral("SELECT 1"),
           QStringLiteral("< 2000 ms"));
}
BENCHMARK(BM_ImportSupplierInvoice)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    BenchServer server; // durable, as a shop's server
    const int status = server.runOnCompany(
        QStringLiteral("bench_einvoice_import"), [](core::Db& db) { generateCatalogue(db, CatalogueSize{}); },
        g_db);
    benchmark::Shutdown();
    return status;
}
