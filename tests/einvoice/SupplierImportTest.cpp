#include "stock/loads/SupplierInvoiceImport.h"

#include "core/Db.h"
#include "core/Session.h"
#include "einvoice/SupplierInvoiceReader.h"
#include "tests/support/FailingWrite.h"
#include "tests/support/Login.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestFiles.h"
#include "tests/support/Workstation.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <openssl/cms.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <memory>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

// One line of a supplier's invoice, at 22%.
struct SupplierLine
{
    QString codeKind;
    QString code;
    QString description;
    int quantity;
    int priceCents;
    int discountPercent = 0;
};

QString euros(qint64 cents)
{
    return QStringLiteral("%1.%2").arg(cents / 100).arg(cents % 100, 2, 10, QLatin1Char('0'));
}

// A FatturaPA file as a supplier's program writes it: valid against the schema and the exchange
// system's rules, paid in two instalments.
QByteArray supplierInvoice(const QString& number, const std::vector<SupplierLine>& lines,
                           const QString& vat = QStringLiteral("07654321098"))
{
    QString rows;
    qint64 taxable = 0;
    int n = 0;
    for (const SupplierLine& line : lines) {
        const qint64 total =
            (qint64(line.quantity) * line.priceCents * (100 - line.discountPercent) + 50) / 100;
        taxable += total;
        rows += QStringLiteral("<DettaglioLinee><NumeroLinea>%1</NumeroLinea>"
                               "<CodiceArticolo><CodiceTipo>%2</CodiceTipo><CodiceValore>%3</CodiceValore>"
                               "</CodiceArticolo><Descrizione>%4</Descrizione><Quantita>%5.00</Quantita>"
                               "<UnitaMisura>PZ</UnitaMisura><PrezzoUnitario>%6</PrezzoUnitario>")
                    .arg(++n)
                    .arg(line.codeKind, line.code, line.description)
                    .arg(line.quantity)
                    .arg(euros(line.priceCents));
        if (line.discountPercent > 0)
            rows += QStringLiteral("<ScontoMaggiorazione><Tipo>SC</Tipo><Percentuale>%1.00</Percentuale>"
                                   "</ScontoMaggiorazione>")
                        .arg(line.discountPercent);
        rows +=
            QStringLiteral("<PrezzoTotale>%1</PrezzoTotale><AliquotaIVA>22.00</AliquotaIVA></DettaglioLinee>")
                .arg(euros(total));
    }
    const qint64 tax = (taxable * 22 + 50) / 100;
    const qint64 first = (taxable + tax) / 2;
    const QString xml =
        QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
            "<p:FatturaElettronica versione=\"FPR12\" "
            "xmlns:p=\"http://ivaservizi.agenziaentrate.gov.it/docs/xsd/fatture/v1.2\" "
            "xmlns:ds=\"http://www.w3.org/2000/09/xmldsig#\">"
            "<FatturaElettronicaHeader><DatiTrasmissione><IdTrasmittente><IdPaese>IT</IdPaese>"
            "<IdCodice>%1</IdCodice></IdTrasmittente><ProgressivoInvio>00042</ProgressivoInvio>"
            "<FormatoTrasmissione>FPR12</FormatoTrasmissione><CodiceDestinatario>M5UXCR1</CodiceDestinatario>"
            "</DatiTrasmissione><CedentePrestatore><DatiAnagrafici><IdFiscaleIVA><IdPaese>IT</IdPaese>"
            "<IdCodice>%1</IdCodice></IdFiscaleIVA><CodiceFiscale>%1</CodiceFiscale><Anagrafica>"
            "<Denominazione>Distribuzione Telefonia S.p.A.</Denominazione></Anagrafica>"
            "<RegimeFiscale>RF01</RegimeFiscale></DatiAnagrafici><Sede><Indirizzo>Via dei Mille</Indirizzo>"
            "<NumeroCivico>12</NumeroCivico><CAP>20121</CAP><Comune>Milano</Comune><Provincia>MI</Provincia>"
            "<Nazione>IT</Nazione></Sede></CedentePrestatore><CessionarioCommittente><DatiAnagrafici>"
            "<IdFiscaleIVA><IdPaese>IT</IdPaese><IdCodice>01234567890</IdCodice></IdFiscaleIVA><Anagrafica>"
            "<Denominazione>Telefonia Rossi S.r.l.</Denominazione></Anagrafica></DatiAnagrafici><Sede>"
            "<Indirizzo>Via Roma 1</Indirizzo><CAP>00184</CAP><Comune>Roma</Comune><Provincia>RM</Provincia>"
            "<Nazione>IT</Nazione></Sede></CessionarioCommittente></FatturaElettronicaHeader>"
            "<FatturaElettronicaBody><DatiGenerali><DatiGeneraliDocumento><TipoDocumento>TD01</TipoDocumento>"
            "<Divisa>EUR</Divisa><Data>2026-03-10</Data><Numero>%2</Numero>"
            "<ImportoTotaleDocumento>%3</ImportoTotaleDocumento></DatiGeneraliDocumento></DatiGenerali>"
            "<DatiBeniServizi>%4<DatiRiepilogo><AliquotaIVA>22.00</AliquotaIVA>"
            "<ImponibileImporto>%5</ImponibileImporto><Imposta>%6</Imposta><EsigibilitaIVA>I</EsigibilitaIVA>"
            "</DatiRiepilogo></DatiBeniServizi><DatiPagamento><CondizioniPagamento>TP01</CondizioniPagamento>"
            "<DettaglioPagamento><ModalitaPagamento>MP05</ModalitaPagamento>"
            "<DataScadenzaPagamento>2026-04-30</DataScadenzaPagamento><ImportoPagamento>%7</ImportoPagamento>"
            "</DettaglioPagamento><DettaglioPagamento><ModalitaPagamento>MP05</ModalitaPagamento>"
            "<DataScadenzaPagamento>2026-05-31</DataScadenzaPagamento><ImportoPagamento>%8</ImportoPagamento>"
            "</DettaglioPagamento></DatiPagamento></FatturaElettronicaBody></p:FatturaElettronica>")
            .arg(vat, number, euros(taxable + tax), rows, euros(taxable), euros(tax), euros(first),
                 euros(taxable + tax - first));
    return xml.toUtf8();
}

// The file signed as a `.p7m`, with a key and certificate made here.
QByteArray signedFile(const QByteArray& xml)
{
    EVP_PKEY* key = EVP_RSA_gen(2048);
    X509* cert = X509_new();
    ASN1_INTEGER_set(X509_get_serialNumber(cert), 1);
    X509_gmtime_adj(X509_getm_notBefore(cert), 0);
    X509_gmtime_adj(X509_getm_notAfter(cert), 3600);
    X509_set_pubkey(cert, key);
    X509_NAME* name = X509_get_subject_name(cert);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("Fornitore"),
                               -1, -1, 0);
    X509_set_issuer_name(cert, name);
    X509_sign(cert, key, EVP_sha256());
    BIO* in = BIO_new_mem_buf(xml.constData(), int(xml.size()));
    CMS_ContentInfo* cms = CMS_sign(cert, key, nullptr, in, CMS_BINARY);
    BIO* out = BIO_new(BIO_s_mem());
    i2d_CMS_bio(out, cms);
    char* data = nullptr;
    const long size = BIO_get_mem_data(out, &data);
    const QByteArray der(data, int(size));
    BIO_free(out);
    BIO_free(in);
    CMS_ContentInfo_free(cms);
    X509_free(cert);
    EVP_PKEY_free(key);
    return der;
}

// The operator's answers for the lines no item matched, in order; records what was shown.
class ScriptedResolver : public stock::UnmatchedLineResolver
{
public:
    explicit ScriptedResolver(QList<stock::LineResolution> answers = {}) : m_answers(std::move(answers)) {}
    std::optional<QList<stock::LineResolution>>
    resolve(const QList<einvoice::SupplierInvoiceLine>& lines) override
    {
        for (const auto& line : lines)
            shown.append(line.descrizione);
        return m_answers;
    }
    QStringList shown;

private:
    QList<stock::LineResolution> m_answers;
};

class SupplierImportTest : public ct::CompanySuite<SupplierImportTest>
{
protected:
    void SetUp() override
    {
        emptyTables({"carichi", "dettcarico", "acquisti", "articoli", "giacenze", "fornitori",
                     "articoli_fornitori", "prima_nota", "scadenzario", "magazzini", "pagamenti"});
        db().exec(QStringLiteral("INSERT INTO magazzini (idMagazzino, Descrizione) VALUES (1, 'NEGOZIO')"));
        ct::logIn(m_session, {core::Privilege::Magazzino}, {1, QStringLiteral("NEGOZIO")});
        ASSERT_TRUE(m_folder.isValid());
    }

    static void knownSupplier()
    {
        db().exec(QStringLiteral("INSERT INTO fornitori (id_fornitore, Codice, RagSoc, PIva) VALUES "
                                 "(7, '1', 'DISTRIBUZIONE TELEFONIA', 'IT07654321098')"));
    }

    static int item(const char* code, const char* supplierCode, const char* barcode)
    {
        return insert("articoli",
                      {{QStringLiteral("CodArticolo"), QLatin1String(code)},
                       {QStringLiteral("Descrizione"), QStringLiteral("ARTICOLO ") + QLatin1String(code)},
                       {QStringLiteral("codartforn"), QLatin1String(supplierCode)},
                       {QStringLiteral("BarcodeFull"), QLatin1String(barcode)},
                       {QStringLiteral("UM"), QStringLiteral("PZ")},
                       {QStringLiteral("UMVENDITA"), QStringLiteral("PZ")},
                       {QStringLiteral("Aliquota"), 22},
                       {QStringLiteral("giacenza"), 0},
                       {QStringLiteral("Disponibilita"), 0}});
    }

    QString file(const QByteArray& bytes, const QString& name = QStringLiteral("fattura.xml"))
    {
        const QString path = m_folder.filePath(name);
        ct::writeFile(path, bytes);
        return path;
    }

    QList<int> importFile(const QString& path, stock::UnmatchedLineResolver& resolver)
    {
        return stock::SupplierInvoiceImport(db(), m_session, m_dialogs).importFile(path, resolver);
    }

    // What an import writes, counted: equal before and after means nothing was left behind.
    static QString footprint()
    {
        return db()
            .scalar(QStringLiteral(
                "SELECT CONCAT_WS('|', (SELECT COUNT(*) FROM carichi), (SELECT COUNT(*) FROM dettcarico), "
                "(SELECT COUNT(*) FROM acquisti), (SELECT COUNT(*) FROM fornitori), (SELECT COUNT(*) FROM "
                "articoli), "
                "(SELECT IFNULL(SUM(giacenza), 0) FROM articoli), (SELECT COUNT(*) FROM giacenze), "
                "(SELECT COUNT(*) FROM scadenzario), (SELECT COUNT(*) FROM prima_nota))"))
            .toString();
    }

    core::Session m_session;
    ct::ScriptedDialogs m_dialogs;
    QTemporaryDir m_folder;
};

const std::vector<SupplierLine> ThreeWays{
    {QStringLiteral("Codice fornitore"), QStringLiteral("FX-100"), QStringLiteral("Cover silicone"), 4, 1000,
     10},
    {QStringLiteral("EAN"), QStringLiteral("8001234567890"), QStringLiteral("Caricatore USB-C"), 2, 1550},
    {QStringLiteral("Codice fornitore"), QStringLiteral("NEW-7"), QStringLiteral("Auricolari BT"), 3, 2000},
    {QStringLiteral("Codice fornitore"), QStringLiteral("TRASP"), QStringLiteral("Spese di trasporto"), 1,
     800}};

TEST_F(SupplierImportTest, LinesMatchBySupplierCodeThenBarcodeAndTheRestAsTheOperatorSays)
{
    knownSupplier();
    const int cover = item("C1", "FX-100", "");
    const int charger = item("C2", "", "8001234567890");
    ScriptedResolver resolver({stock::LineResolution::create(), stock::LineResolution::skip()});
    const QList<int> loads = importFile(file(supplierInvoice(QStringLiteral("FV-118"), ThreeWays)), resolver);

    ASSERT_EQ(loads.size(), 1);
    EXPECT_EQ(resolver.shown,
              (QStringList{QStringLiteral("Auricolari BT"), QStringLiteral("Spese di trasporto")}));
    const core::Row load =
        db().query(QStringLiteral(
                       "SELECT NumDoc, Datadoc, idFornitore, TipoDoc, totalearticoli, imponibile, NRATE, "
                       "Scadenzario FROM carichi WHERE idCarico = :ID"),
                   {{QStringLiteral("ID"), loads.first()}})
            .first();
    EXPECT_EQ(load["NumDoc"].toString(), QStringLiteral("FV-118"));
    EXPECT_EQ(load["Datadoc"].toDate(), QDate(2026, 3, 10));
    EXPECT_EQ(load["idFornitore"].toInt(), 7);
    EXPECT_EQ(load["totalearticoli"].toInt(), 9);
    EXPECT_DOUBLE_EQ(load["imponibile"].toDouble(), 36 + 31 + 60);
    // The file's discount: 10,00 less 10% is the cover's cost.
    const core::Rows rows = db().query(QStringLiteral(
        "SELECT idarticolo, quantita, PrezzoAcquisto, sconto_perc1 FROM dettcarico ORDER BY id"));
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0]["idarticolo"].toInt(), cover);
    EXPECT_DOUBLE_EQ(rows[0]["PrezzoAcquisto"].toDouble(), 9);
    EXPECT_DOUBLE_EQ(rows[0]["sconto_perc1"].toDouble(), 10);
    EXPECT_EQ(rows[1]["idarticolo"].toInt(), charger);
    EXPECT_EQ(count(QStringLiteral("SELECT giacenza FROM articoli WHERE ID = :ID"), {{"ID", charger}}), 2);
    // The new item carries the supplier's code, so the next invoice finds it.
    EXPECT_EQ(
        db().scalar(QStringLiteral("SELECT CONCAT(codartforn, '/', Descrizione, '/', giacenza) FROM articoli "
                                   "WHERE ID = :ID"),
                    {{QStringLiteral("ID"), rows[2]["idarticolo"].toInt()}})
            .toString(),
        QStringLiteral("NEW-7/Auricolari BT/3"));
    // The file's two instalments are the supplier's deadlines.
    EXPECT_EQ(load["NRATE"].toInt(), 2);
    EXPECT_TRUE(load["Scadenzario"].toBool());
    EXPECT_EQ(
        db().scalar(QStringLiteral("SELECT GROUP_CONCAT(CONCAT(scadenza, '=', ROUND(Importo, 2)) ORDER BY "
                                   "scadenza) FROM scadenzario"))
            .toString(),
        QStringLiteral("2026-04-30=82.35,2026-05-31=82.35"));
}

TEST_F(SupplierImportTest, ANewSupplierIsCreatedFromTheFileAndTheSameInvoiceIsNotImportedTwice)
{
    const QString path = file(supplierInvoice(QStringLiteral("FV-9"), {ThreeWays[1]}));
    ScriptedResolver resolver({stock::LineResolution::create()});
    m_dialogs.answerConfirm(true);
    ASSERT_EQ(importFile(path, resolver).size(), 1);
    EXPECT_EQ(
        m_dialogs.texts(ct::DialogEvent::Kind::Confirm),
        QStringList{QStringLiteral("Il fornitore Distribuzione Telefonia S.p.A. non è in anagrafica. Crearlo "
                                   "dai dati della fattura?")});
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT CONCAT_WS('|', RagSoc, PIva, CodFisc, IndirizzoLeg, CapLeg, "
                                         "CittaLeg, ProvLeg) FROM fornitori"))
                  .toString(),
              QStringLiteral("Distribuzione Telefonia S.p.A.|07654321098|07654321098|Via dei Mille 12|20121|"
                             "Milano|MI"));

    const QString before = footprint();
    // The supplier is known now: refused before any line is shown.
    ScriptedResolver again;
    EXPECT_EQ(ct::errorOf([&] { importFile(path, again); }),
              QStringLiteral("Fattura del fornitore già importata"));
    EXPECT_TRUE(again.shown.isEmpty());
    EXPECT_EQ(footprint(), before);
}

TEST_F(SupplierImportTest, ASignedFileIsUnwrappedAndImported)
{
    knownSupplier();
    item("C1", "FX-100", "");
    const QByteArray xml = supplierInvoice(QStringLiteral("FV-200"), {ThreeWays[0]});
    const QByteArray p7m = signedFile(xml);
    ScriptedResolver resolver;
    ASSERT_EQ(importFile(file(p7m, QStringLiteral("IT07654321098_00042.xml.p7m")), resolver).size(), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM dettcarico")), 1);
    // The base64 form some senders use reads the same.
    EXPECT_EQ(einvoice::SupplierInvoiceReader::unwrap(p7m.toBase64(QByteArray::Base64Encoding)), xml);
    // A signature that no longer matches its content is not taken.
    QByteArray tampered = p7m;
    tampered.replace("FV-200", "FV-201");
    EXPECT_EQ(
        ct::errorOf([&] { einvoice::SupplierInvoiceReader().read(tampered); }),
        QStringLiteral("Il file non è una fattura elettronica: la firma del file non corrisponde al suo "
                       "contenuto"));
}

TEST_F(SupplierImportTest, TwoWorkstationsImportingOneFileMakeOneLoad)
{
    knownSupplier();
    item("C1", "FX-100", "");
    const QString path = file(supplierInvoice(QStringLiteral("FV-300"), {ThreeWays[0]}));
    std::unique_ptr<core::Db> observer = company().newConnection();
    const auto importOn = [&](core::Db& connection) {
        ct::ScriptedDialogs quiet;
        ScriptedResolver resolver;
        stock::SupplierInvoiceImport(connection, m_session, quiet).importFile(path, resolver);
    };
    QString firstError;
    QString secondError;
    {
        ct::InsertGate gate(*observer, QStringLiteral("carichi"));
        ct::Workstation first(company().newConnection());
        first.start(importOn);
        ASSERT_TRUE(first.waitsAtNamedLock(*observer));
        ct::Workstation second(company().newConnection());
        second.start(importOn);
        // Both found no such load; the second waits for the first to finish.
        ASSERT_TRUE(second.waitsAtNamedLock(*observer));
        observer->scalar(QStringLiteral("SELECT RELEASE_LOCK(CONCAT('carvendo-prova.', DATABASE()))"));
        firstError = ct::errorOf([&] { first.finish(); });
        secondError = ct::errorOf([&] { second.finish(); });
    }
    EXPECT_EQ(firstError, QStringLiteral("(nessun errore)"));
    EXPECT_EQ(secondError, QStringLiteral("Fattura del fornitore già importata"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM carichi")), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT giacenza FROM articoli")), 4);
}

TEST_F(SupplierImportTest, AServerErrorMidImportLeavesNoLoadNoStockNoSupplier)
{
    item("C1", "FX-100", "");
    const QString before = footprint();
    ScriptedResolver resolver({stock::LineResolution::create()});
    m_dialogs.answerConfirm(true);
    const ct::FailingWrite failing(db(), ct::FailingWrite::On::Insert, QStringLiteral("scadenzario"));
    EXPECT_EQ(ct::errorOf([&] {
                  importFile(file(supplierInvoice(QStringLiteral("FV-400"), {ThreeWays[0], ThreeWays[2]})),
                             resolver);
              }),
              ct::failingWriteMessage());
    EXPECT_EQ(footprint(), before);
}

TEST_F(SupplierImportTest, AFileThatIsNotAnEInvoiceOrIsACreditNoteIsRefusedWithWhatItIs)
{
    ScriptedResolver resolver;
    EXPECT_EQ(ct::errorOf([&] { importFile(file("<ordine><riga/></ordine>"), resolver); }),
              QStringLiteral("Il file non è una fattura elettronica: il documento XML è un <ordine>"));
    EXPECT_EQ(
        ct::errorOf([&] { importFile(file("Gentile cliente, in allegato la fattura."), resolver); }),
        QStringLiteral("Il file non è una fattura elettronica: non è un file XML né un file firmato (.p7m)"));
    // A supplier's credit note takes nothing into stock.
    QByteArray creditNote = supplierInvoice(QStringLiteral("NC-3"), {ThreeWays[0]});
    creditNote.replace("<TipoDocumento>TD01</TipoDocumento>", "<TipoDocumento>TD04</TipoDocumento>");
    EXPECT_EQ(
        ct::errorOf([&] { importFile(file(creditNote), resolver); }),
        QStringLiteral("Il documento NC-3 del 10/03/2026 è una nota di credito del fornitore: non si importa "
                       "come carico"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM carichi")), 0);
    // A FatturaPA that breaks the schema says which rule.
    QByteArray broken = supplierInvoice(QStringLiteral("FV-500"), {ThreeWays[0]});
    broken.replace("<Divisa>EUR</Divisa>", "");
    EXPECT_TRUE(
        ct::errorOf([&] {
            importFile(file(broken), resolver);
        }).startsWith(QStringLiteral("Fattura del fornitore: il file non rispetta lo schema FatturaPA")));
}

} // namespace
