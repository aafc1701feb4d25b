#include "stock/loads/SupplierInvoiceImport.h"

#include "core/Db.h"
#include "core/Session.h"
#include "einvoice/SupplierInvoiceReader.h"
#include "stock/loads/LoadDeadlines.h"
#include "stock/loads/LoadHeader.h"
#include "stock/loads/LoadPosting.h"
#include "stock/loads/LoadSaving.h"
#include "stock/loads/LoadTracking.h"
#include "tests/einvoice/SupplierFileFixture.h"
#include "tests/support/FailingWrite.h"
#include "tests/support/Login.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestFiles.h"
#include "tests/support/Workstation.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace carvendo;
namespace ct = carvendo::testing;
using ct::fileOf;
using ct::lotOf;
using ct::supplierDocument;
using ct::SupplierLine;

namespace {

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
        db().exec(QStringLiteral("INSERT INTO pagamenti (Descrizione, Tipologia, Giorni, NrRate, TipoRate, "
                                 "TipoDecorrenza, modalita) VALUES ('CONTANTI', 'CONTANTI', 0, 1, 'Normale', "
                                 "'Data Fattura', 'Contanti'), ('BONIFICO 30 GG D.F.', 'BONIFICO', 30, 1, "
                                 "'Normale', 'Data Fattura', 'Bonifico')"));
    }

    static QString deadlines()
    {
        return db()
            .scalar(QStringLiteral("SELECT GROUP_CONCAT(CONCAT(scadenza, '=', ROUND(Importo, 2)) ORDER BY "
                                   "scadenza) FROM scadenzario"))
            .toString();
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

const std::vector<SupplierLine> Lines{{"FX-100", "Cover silicone", 4, 10},
                                      {"8001234567890", "Caricatore USB-C", 2, 15.5},
                                      {"C3", "Vetro temperato", 5, 3},
                                      {"NEW-7", "Auricolari BT", 3, 20.1234, 10},
                                      {"TRASP", "Spese di trasporto", 1, 8}};

TEST_F(SupplierImportTest, LinesMatchBySupplierCatalogueBarcodeAndCodeAndTheRestAsTheOperatorSays)
{
    knownSupplier();
    const int cover = item("C1", "", "");
    // Typed with another case and a trailing space: the server finds it all the same.
    insert("articoli_fornitori", {{QStringLiteral("idArticolo"), cover},
                                  {QStringLiteral("idFornitore"), 7},
                                  {QStringLiteral("CodiceF"), QStringLiteral("fx-100 ")}});
    const int charger = item("C2", "", "8001234567890");
    const int glass = item("C3", "", "");
    // Two new lines of one item under two supplier's codes: the EAN (12 digits, known by its kind) is
    // the item's barcode, and makes them one item.
    std::vector<SupplierLine> lines = Lines;
    lines.push_back({"NEW-8", "Cuffie con filo", 1, 5, 0, "012345678905"});
    lines.push_back({"NEW-9", "Cuffie con filo", 1, 5, 0, "012345678905"});
    ScriptedResolver resolver({stock::LineResolution::create(), stock::LineResolution::skip(),
                               stock::LineResolution::create(), stock::LineResolution::create()});
    const QList<int> loads =
        importFile(file(fileOf(supplierDocument(QStringLiteral("FV-118"), lines))), resolver);

    ASSERT_EQ(loads.size(), 1);
    EXPECT_EQ(resolver.shown,
              (QStringList{QStringLiteral("Auricolari BT"), QStringLiteral("Spese di trasporto"),
                           QStringLiteral("Cuffie con filo"), QStringLiteral("Cuffie con filo")}));
    // The supplier has no term of its own: the shop's first term paid by the file's mode (MP05).
    EXPECT_EQ(
        db().scalar(QStringLiteral("SELECT CONCAT_WS('|', NumDoc, Datadoc, idFornitore, totalearticoli, "
                                   "imponibile, tipopagamento, FatturaElettronica) FROM carichi"))
            .toString(),
        QStringLiteral(
            "FV-118|2026-03-10|7|16|150.3333|BONIFICO 30 GG D.F.|IT07654321098|FV-118|2026-03-10"));
    const core::Rows rows = db().query(QStringLiteral("SELECT idarticolo, CONCAT_WS('/', PrezzoAcquisto, "
                                                      "sconto_perc1) AS costo FROM dettcarico ORDER BY id"));
    ASSERT_EQ(rows.size(), 5);
    EXPECT_EQ((QList<int>{rows[0]["idarticolo"].toInt(), rows[1]["idarticolo"].toInt(),
                          rows[2]["idarticolo"].toInt()}),
              (QList<int>{cover, charger, glass}));
    EXPECT_EQ(rows[3]["costo"].toString(), QStringLiteral("18.1111/10"));
    // The new items carry the supplier's code, so the next invoice finds them, and the cost after the
    // line's discount.
    const QString made =
        QStringLiteral("SELECT CONCAT_WS('/', CodArticolo, codartforn, BarcodeFull, "
                       "Descrizione, giacenza, PrezzoAcqnoiva) FROM articoli WHERE ID = :ID");
    EXPECT_EQ(db().scalar(made, {{QStringLiteral("ID"), rows[3]["idarticolo"].toInt()}}).toString(),
              QStringLiteral("NEW-7/NEW-7/Auricolari BT/3/18.1111"));
    EXPECT_EQ(db().scalar(made, {{QStringLiteral("ID"), rows[4]["idarticolo"].toInt()}}).toString(),
              QStringLiteral("NEW-8/NEW-8/012345678905/Cuffie con filo/2/5"));
    EXPECT_EQ(deadlines(), QStringLiteral("2026-04-30=20.00,2026-05-31=173.16"));
}

TEST_F(SupplierImportTest, ReSavingAnImportedLoadKeepsTheInstalmentsOfTheFile)
{
    knownSupplier();
    const int cover = item("C1", "FX-100", "");
    ScriptedResolver resolver;
    const int id =
        importFile(file(fileOf(supplierDocument(QStringLiteral("FV-119"), {Lines[0]}))), resolver).value(0);
    const stock::LoadTracking tracking(m_session, QStringLiteral("TCarichi"));
    const auto resave = [&] {
        const stock::LoadHeader load = stock::LoadStore(db()).read(id);
        stock::LoadSaving(db(), m_session, tracking)
            .save(id,
                  {load.idFornitore, load.numDoc, load.tipoDoc, load.dataDoc, load.causale,
                   load.tipoPagamento, load.note},
                  false);
    };
    resave();
    EXPECT_EQ(deadlines(), QStringLiteral("2026-04-30=20.00,2026-05-31=28.80"));
    // Once the operator assigns the term's instalments ("Scadenze"), saving follows the load again.
    stock::LoadDeadlines(db()).write(stock::LoadStore(db()).read(id),
                                     stock::SupplierInvoiceImport::documentKind());
    stock::LoadPosting(db(), m_session, tracking).addRow(id, {cover, 1, core::Money::fromInt(10), {}, {}});
    resave();
    EXPECT_EQ(deadlines(), QStringLiteral("2026-03-10=61.00"));
}

TEST_F(SupplierImportTest, ANewSupplierIsCreatedFromTheFileAndTheSameInvoiceIsNotImportedTwice)
{
    const QString path = file(fileOf(supplierDocument(QStringLiteral("FV-9"), {Lines[1]})));
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
    // The supplier is known now: refused before any line is shown, by the document's key and, for a
    // load imported before loads kept it, by supplier, number and date.
    for (const char* keep : {"FatturaElettronica", "NULL"}) {
        db().exec(QStringLiteral("UPDATE carichi SET FatturaElettronica = %1").arg(QLatin1String(keep)));
        ScriptedResolver again;
        EXPECT_EQ(ct::errorOf([&] { importFile(path, again); }),
                  QStringLiteral("Fattura del fornitore già importata"));
        EXPECT_TRUE(again.shown.isEmpty());
    }
    EXPECT_EQ(footprint(), before);
}

// As the window runs it: each job on a thread of its own and a connection made from the settings, so the
// window's connection runs no statement.
TEST_F(SupplierImportTest, ASignedFileIsUnwrappedAndImportedOffTheWindowThread)
{
    knownSupplier();
    item("C1", "FX-100", "");
    const QByteArray xml = fileOf(supplierDocument(QStringLiteral("FV-200"), {Lines[0]}));
    const QByteArray p7m = ct::signedFile(xml);
    const std::unique_ptr<core::Db> window = company().newConnection();
    int onWindow = 0;
    window->setStatementLogger([&](const QString&, qint64) { ++onWindow; });
    window->setStatementLogging(true);
    stock::SupplierInvoiceImport import(*window, m_session, m_dialogs);
    import.runJobsWith(
        [&](const QString&, const core::LongJob& job) {
            ct::Workstation worker(*window);
    worker.start([&](core::Db&) { job([](int) {}); });
    worker.finish();
},
        company().settings());
ScriptedResolver resolver;
ASSERT_EQ(import.importFile(file(p7m, QStringLiteral("IT07654321098_00042.xml.p7m")), resolver).size(), 1);
EXPECT_EQ(onWindow, 0);
EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM dettcarico")), 1);
// The base64 form some senders use reads the same.
EXPECT_EQ(einvoice::SupplierInvoiceReader::unwrap(p7m.toBase64(QByteArray::Base64Encoding)), xml);
// A signature that no longer matches its content is not taken.
QByteArray tampered = p7m;
tampered.replace("FV-200", "FV-201");
EXPECT_EQ(ct::errorOf([&] { einvoice::SupplierInvoiceReader().read(tampered); }),
          QStringLiteral("Il file non è una fattura elettronica: la firma del file non corrisponde al suo "
                         "contenuto"));
} // namespace

TEST_F(SupplierImportTest, TwoWorkstationsImportingOneFileMakeOneLoad)
{
    knownSupplier();
    item("C1", "FX-100", "");
    const QString path = file(fileOf(supplierDocument(QStringLiteral("FV-300"), {Lines[0]})));
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

TEST_F(SupplierImportTest, ANewItemTakesNoCodeAnotherWorkstationGaveMeanwhile)
{
    knownSupplier();
    const QString path = file(fileOf(supplierDocument(QStringLiteral("FV-350"), {Lines[3]})));
    // The other workstation's item card is saving the code, not yet committed: the line matches nothing.
    const auto other = company().newConnection();
    ct::HalfDoneCommand theirSave(*other, QStringLiteral("articoli.codici"),
                                  QStringLiteral("INSERT INTO articoli (CodArticolo, Descrizione) VALUES "
                                                 "('NEW-7', 'AURICOLARI')"));
    ScriptedResolver resolver({stock::LineResolution::create()});
    ct::Workstation here(db());
    here.start([&](core::Db&) { importFile(path, resolver); });
    EXPECT_TRUE(here.waitsAtNamedLock(*other));
    theirSave.finish();
    EXPECT_EQ(ct::errorOf([&] { here.finish(); }),
              QStringLiteral("Codice NEW-7 già assegnato ad altro articolo, riprovare"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM carichi")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM articoli")), 1);
}

TEST_F(SupplierImportTest, AFileOfSeveralInvoicesMakesOneLoadEachOrNoneOnAServerError)
{
    knownSupplier();
    item("C1", "FX-100", "");
    const QString path = file(lotOf({supplierDocument(QStringLiteral("FV-401"), {Lines[0]}),
                                     supplierDocument(QStringLiteral("FV-402"), {Lines[3]})}));
    const QString before = footprint();
    {
        // The second invoice's new item fails, after the first load was written.
        const ct::FailingWrite failing(db(), ct::FailingWrite::On::Insert, QStringLiteral("articoli"));
        ScriptedResolver resolver({stock::LineResolution::create()});
        EXPECT_EQ(ct::errorOf([&] { importFile(path, resolver); }), ct::failingWriteMessage());
    }
    EXPECT_EQ(footprint(), before);

    ScriptedResolver resolver({stock::LineResolution::create()});
    ASSERT_EQ(importFile(path, resolver).size(), 2);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT GROUP_CONCAT(CONCAT(NumDoc, '=', totalearticoli) ORDER BY "
                                         "idCarico) FROM carichi"))
                  .toString(),
              QStringLiteral("FV-401=4,FV-402=3"));
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
    ct::SupplierDocument creditNote = supplierDocument(QStringLiteral("NC-3"), {Lines[0]});
    creditNote.data.tipoDocumento = QStringLiteral("TD04");
    EXPECT_EQ(
        ct::errorOf([&] { importFile(file(fileOf(creditNote)), resolver); }),
        QStringLiteral("Fattura del fornitore NC-3 del 10/03/2026: è una nota di credito, non si importa "
                       "come carico"));
    // Costs in dollars are not loaded as euro.
    QByteArray inDollars = fileOf(supplierDocument(QStringLiteral("FV-9"), {Lines[0]}));
    inDollars.replace("<Divisa>EUR</Divisa>", "<Divisa>USD</Divisa>");
    EXPECT_EQ(
        ct::errorOf([&] { importFile(file(inDollars), resolver); }),
        QStringLiteral("Fattura del fornitore FV-9 del 10/03/2026: è in USD, si importano come carico solo "
                       "fatture in euro"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM carichi")), 0);
    // A file that breaks the schema or the exchange system's rules names the supplier's document.
    const QByteArray good = fileOf(supplierDocument(QStringLiteral("FV-500"), {Lines[0]}));
    EXPECT_TRUE(
        ct::errorOf([&] { importFile(file(QByteArray(good).replace("<Divisa>EUR</Divisa>", "")), resolver); })
            .startsWith(QStringLiteral("Fattura del fornitore FV-500 del 10/03/2026: il file non rispetta "
                                       "lo schema FatturaPA")));
    EXPECT_EQ(ct::errorOf([&] { importFile(file(QByteArray(good).replace("20121", "2012")), resolver); }),
              QStringLiteral("Fattura del fornitore FV-500 del 10/03/2026: il CAP \"2012\" del fornitore non "
                             "ha 5 cifre"));
}

} // namespace
