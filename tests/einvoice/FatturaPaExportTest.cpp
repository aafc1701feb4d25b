// Electronic invoices made from stored invoices: files the official schema accepts for every kind of
// customer and invoice, one compared byte for byte, every consistency rule refused by name with
// nothing written, and the transmission number of two workstations at once or of a failed write.

#include "tests/einvoice/EInvoiceFixture.h"

#include "einvoice/EInvoiceRefusal.h"
#include "einvoice/FatturaPaFiles.h"

#include "tests/support/FailingWrite.h"
#include "tests/support/TestFiles.h"
#include "tests/support/Workstation.h"

#include <QRegularExpression>

namespace ct = carvendo::testing;
namespace einvoice = carvendo::einvoice;
using carvendo::core::Money;
using ct::euros;

namespace {

class FatturaPaExportTest : public ct::EInvoiceFixture<FatturaPaExportTest>
{
protected:
    // The refusal of exporting the invoice; no file, no number taken, nothing recorded.
    QString refusalOf(int invoiceId)
    {
        try {
            exportNow({invoiceId});
        } catch (const einvoice::EInvoiceRefusal& refusal) {
            EXPECT_TRUE(files().isEmpty());
            EXPECT_EQ(nextProgressive(), 1);
            EXPECT_EQ(exportedAs(invoiceId), QStringLiteral("0"));
            return refusal.message();
        }
        ADD_FAILURE() << "exported";
        return {};
    }

    QString exported(int invoiceId)
    {
        const auto files = exportNow({invoiceId});
        return files.isEmpty() ? QString() : QString::fromUtf8(contents(files.first().fileName));
    }
};

const std::vector<ct::Line> OneRow{{"A1", "Cover smartphone", 22, "100"}};

TEST_F(FatturaPaExportTest, EveryKindOfInvoiceGivesAFileTheSchemaAccepts)
{
    struct Case
    {
        const char* name;
        ct::TestInvoice invoice;
        QStringList expected; // fragments of the file
    };
    const std::vector<Case> cases{
        {"private person with a fiscal code only",
         {"PF",
          {{"RagioneSociale", "Mario Verdi"},
           {"Nome", "Mario"},
           {"Cognome", "Verdi"},
           {"CodFisc", "vrdmra80a01h501u"}},
          OneRow},
         {"versione=\"FPR12\"", "<CodiceDestinatario>0000000</CodiceDestinatario>",
          "<CodiceFiscale>VRDMRA80A01H501U</CodiceFiscale>\n          <Anagrafica>\n            "
          "<Nome>Mario</Nome>\n            <Cognome>Verdi</Cognome>",
          "<ImportoTotaleDocumento>122.00</ImportoTotaleDocumento>"}},
        {"company with a recipient code",
         {"AZ", business(), OneRow},
         {"<CodiceDestinatario>M5UXCR1</CodiceDestinatario>\n    </DatiTrasmissione>",
          "<IdPaese>IT</IdPaese>\n            <IdCodice>09876543210</IdCodice>",
          "<Denominazione>Bianchi S.p.A.</Denominazione>"}},
        {"company with a certified address only",
         {"AZ", {{"RagioneSociale", "Neri Srl"}, {"pIva", "IT11122233344"}, {"PEC", "neri@pec.it"}}, OneRow},
         {"<CodiceDestinatario>0000000</CodiceDestinatario>\n      "
          "<PECDestinatario>neri@pec.it</PECDestinatario>",
          "<IdCodice>11122233344</IdCodice>"}},
        {"public administration",
         {"PA",
          {{"RagioneSociale", "Comune di Milano"},
           {"CodFisc", "01199250158"},
           {"CodiceDestinatario", "UFXQ3Z"}},
          OneRow},
         {"versione=\"FPA12\"", "<FormatoTrasmissione>FPA12</FormatoTrasmissione>",
          "<CodiceDestinatario>UFXQ3Z</CodiceDestinatario>"}},
        {"zero rate with its nature",
         {"AZ", business(), {{"S1", "Riparazione in garanzia", 0, "50"}}},
         {"<AliquotaIVA>0.00</AliquotaIVA>\n        <Natura>N4</Natura>",
          "<Imposta>0.00</Imposta>\n        <RiferimentoNormativo>Esente art. 10 DPR "
          "633/72</RiferimentoNormativo>"}},
        {"withholding",
         {"AZ", business(), OneRow,
          [&](auto& doc) {
              withholdingKind("Ritenuta 20%", "RT02", "A");
              doc.setWithholding(euros("20"), "Ritenuta 20%");
          }},
         {"<DatiRitenuta>\n          <TipoRitenuta>RT02</TipoRitenuta>\n          <ImportoRitenuta>20.00</"
          "ImportoRitenuta>\n          <AliquotaRitenuta>20.00</AliquotaRitenuta>\n          "
          "<CausalePagamento>A</CausalePagamento>",
          "<Ritenuta>SI</Ritenuta>"}},
        {"stamp duty charged to the customer",
         {"AZ",
          business(),
          {{"S1", "Riparazione in garanzia", 0, "77.48"}},
          [&](auto& doc) {
              db().exec(QStringLiteral("UPDATE fatture SET BolloACaricoCliente = 1 WHERE idFattura = :ID"),
                        {{QStringLiteral("ID"), doc.header().id}});
          }},
         {"<DatiBollo>\n          <BolloVirtuale>SI</BolloVirtuale>\n          "
          "<ImportoBollo>2.00</ImportoBollo>",
          "<Descrizione>Imposta di bollo</Descrizione>", "<Natura>N1</Natura>",
          "<ImportoTotaleDocumento>79.48</ImportoTotaleDocumento>"}},
        {"document discount spread over the rows",
         {"AZ",
          business(),
          {{"A1", "Cover", 22, "33.33"}, {"A2", "Cavo", 22, "66.67"}},
          [](auto& doc) { doc.setDiscount(euros("10")); }},
         {"<ScontoMaggiorazione>\n          <Tipo>SC</Tipo>\n          <Percentuale>10.00</Percentuale>\n  "
          "        <Importo>10.00</Importo>",
          "<PrezzoTotale>30.00</PrezzoTotale>", "<PrezzoTotale>60.00</PrezzoTotale>",
          "<ImponibileImporto>90.00</ImponibileImporto>\n        <Imposta>19.80</Imposta>"}},
        {"three instalments",
         {"AZ",
          business(),
          OneRow,
          {},
          [&](int id) { threeInstalments(id, "40.6626", "40.6626", "40.6748"); }},
         {"<CondizioniPagamento>TP01</CondizioniPagamento>",
          "<ModalitaPagamento>MP12</ModalitaPagamento>\n          "
          "<DataScadenzaPagamento>2026-06-30</DataScadenzaPagamento>\n          "
          "<ImportoPagamento>40.68</ImportoPagamento>\n          <IstitutoFinanziario>Banca "
          "Popolare</IstitutoFinanziario>\n          <IBAN>IT60X0542811101000000123456</IBAN>",
          "<ImportoPagamento>40.66</ImportoPagamento>"}},
        {"four rates together",
         {"AZ",
          business(),
          {{"A1", "Cover", 22, "10"},
           {"L1", "Libro", 4, "20"},
           {"F1", "Farmaco", 10, "30"},
           {"G1", "Gas", 5, "40"}}},
         {"<AliquotaIVA>22.00</AliquotaIVA>\n        <ImponibileImporto>10.00</ImponibileImporto>\n        "
          "<Imposta>2.20</Imposta>",
          "<AliquotaIVA>10.00</AliquotaIVA>\n        <ImponibileImporto>30.00</ImponibileImporto>\n        "
          "<Imposta>3.00</Imposta>",
          "<AliquotaIVA>5.00</AliquotaIVA>\n        <ImponibileImporto>40.00</ImponibileImporto>\n        "
          "<Imposta>2.00</Imposta>",
          "<AliquotaIVA>4.00</AliquotaIVA>\n        <ImponibileImporto>20.00</ImponibileImporto>\n        "
          "<Imposta>0.80</Imposta>",
          "<ImportoTotaleDocumento>108.00</ImportoTotaleDocumento>"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        // Checked against the schema before it was written; compared here without its indentation.
        const QString file = exported(invoice(c.invoice)).remove(QRegularExpression(QStringLiteral("\n *")));
        ASSERT_FALSE(file.isEmpty());
        for (const QString& fragment : c.expected) {
            EXPECT_TRUE(file.contains(QString(fragment).remove(QRegularExpression(QStringLiteral("\n *")))))
                << fragment.toStdString() << "\n"
                << file.toStdString();
        }
    }
}

// An invoice with everything: REA, discount, withholding, an exempt row with the stamp duty, three
// instalments to the bank, a description outside the Latin set.
TEST_F(FatturaPaExportTest, TheFileIsTheGoldenOneByteForByte)
{
    const int id = invoice(ct::TestInvoice{"AZ",
                                           {{"RagioneSociale", "Città & Figli S.r.l."},
                                            {"pIva", "09876543210"},
                                            {"CodFisc", "09876543210"},
                                            {"CodiceDestinatario", "M5UXCR1"}},
                                           {{"A1", "Cover “slim” – nera €", 22, "12.5", 3},
                                            {"S1", "Riparazione Škoda Œuvre ‰", 0, "80"},
                                            {"L1", "Manuale", 4, "9.99", 2}},
                                           [&](auto& doc) {
                                               withholdingKind("Ritenuta 20%", "RT01", "A");
                                               doc.setDiscount(euros("5"));
                                               doc.setWithholding(euros("20"), "Ritenuta 20%");
                                           },
                                           [&](int saved) { threeInstalments(saved, "40", "40", "40"); }});
    ASSERT_EQ(exportNow({id}).size(), 1);
    EXPECT_EQ(
        contents(QStringLiteral("IT01234567890_00001.xml")),
        ct::readFile(QStringLiteral(CARVENDO_SOURCE_DIR "/tests/einvoice/golden/IT01234567890_00001.xml")));
}

TEST_F(FatturaPaExportTest, AnInvoiceBreakingAConsistencyRuleIsRefusedByNameAndNothingIsWritten)
{
    struct Case
    {
        const char* name;
        ct::TestInvoice invoice;
        QString message;
    };
    const auto before = [&](const char* statement) {
        return [this, statement](auto&) { db().exec(QLatin1String(statement)); };
    };
    const std::vector<Case> cases{
        {"zero rate without a nature",
         {"AZ",
          business(),
          {{"A1", "Cover", 22, "10"}, {"S1", "Riparazione", 0, "50"}},
          // neither the rate nor the row it was sold under has one
          before("UPDATE iva i, dettfattura d SET i.Natura = NULL, d.Natura = NULL WHERE i.Iva = 0")},
         "Fattura 1/2026: la riga 2 ha aliquota 0% senza natura IVA"},
        {"a nature on a taxed rate",
         {"AZ", business(), OneRow, before("UPDATE iva SET Natura = 'N4' WHERE Iva = 22")},
         "Fattura 1/2026: la riga 1 ha aliquota 22% con natura IVA N4"},
        {"a buyer without VAT number or fiscal code",
         {"PF", {{"RagioneSociale", "Mario Verdi"}}, OneRow},
         "Fattura 1/2026: il cliente non ha né partita IVA né codice fiscale"},
        {"an Italian postcode of four digits",
         {"AZ", {{"RagioneSociale", "Neri Srl"}, {"pIva", "11122233344"}, {"Cap", "2012"}}, OneRow},
         "Fattura 1/2026: il CAP \"2012\" del cliente non ha 5 cifre"},
        {"a public administration with a seven-character code",
         {"PA",
          {{"RagioneSociale", "Comune"}, {"CodFisc", "01199250158"}, {"CodiceDestinatario", "ABCDEFG"}},
          OneRow},
         "Fattura 1/2026: il codice destinatario \"ABCDEFG\" di una pubblica amministrazione deve avere 6 "
         "caratteri"},
        {"a withholding that is not among the withholding kinds",
         {"AZ", business(), OneRow, [](auto& doc) { doc.setWithholding(euros("20"), "Ritenuta 20%"); }},
         "Fattura 1/2026: la ritenuta d'acconto \"Ritenuta 20%\" non è tra le ritenute d'acconto"},
        {"a seller without VAT number",
         {"AZ", business(), OneRow, [&](auto&) { m_company.piva.clear(); }},
         "Fattura 1/2026: l'azienda non ha la partita IVA"},
        {"a company with a six-character code",
         {"AZ", business("ABCDEF"), OneRow},
         "Fattura 1/2026: il codice destinatario \"ABCDEF\" deve avere 7 caratteri"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        EXPECT_EQ(refusalOf(invoice(c.invoice)), c.message);
    }
}

// Amounts the invoices never produce, as a file from elsewhere could carry them.
TEST_F(FatturaPaExportTest, TheValidatorRefusesWrongSummariesAndSchemaFaults)
{
    const QByteArray good = exported(invoice(businessCustomer(), {{"A1", "Cover", 22, "100"}})).toUtf8();
    ASSERT_FALSE(good.isEmpty());
    const auto refusal = [&](const char* from, const char* to) {
        QByteArray broken = good;
        broken.replace(from, to);
        EXPECT_NE(broken, good);
        try {
            validator().validate(broken, QStringLiteral("Fattura 1/2026"));
        } catch (const einvoice::EInvoiceRefusal& refused) {
            return refused.message();
        }
        return QString();
    };
    EXPECT_EQ(refusal("<Imposta>22.00</Imposta>", "<Imposta>22.02</Imposta>"),
              QStringLiteral("Fattura 1/2026: il riepilogo IVA 22% ha imposta 22,02 invece di 22,00 "
                             "(imponibile 100,00)"));
    EXPECT_EQ(refusal("<PrezzoTotale>100.00</PrezzoTotale>", "<PrezzoTotale>99.00</PrezzoTotale>"),
              QStringLiteral("Fattura 1/2026: le righe con aliquota 22% sommano 99,00 ma il riepilogo ha "
                             "imponibile 100,00"));
    EXPECT_TRUE(
        refusal("<RegimeFiscale>RF01</RegimeFiscale>", "<RegimeFiscale>RF99</RegimeFiscale>")
            .startsWith(QStringLiteral("Fattura 1/2026: il file non rispetta lo schema FatturaPA (riga ")));
}

TEST_F(FatturaPaExportTest, ExportingAgainAsksAndANewFileTakesANewNumber)
{
    const int id = invoice(businessCustomer(), OneRow);
    ASSERT_EQ(exportNow({id}).value(0).progressive, QStringLiteral("00001"));

    m_dialogs.answerConfirm(false);
    EXPECT_TRUE(exportNow({id}).isEmpty());
    EXPECT_EQ(m_dialogs.lastText(),
              QStringLiteral("La fattura 1/2026 è già stata esportata nel file "
                             "IT01234567890_00001.xml. Vuoi sostituirlo con un nuovo file?"));
    EXPECT_EQ(files(), QStringList{QStringLiteral("IT01234567890_00001.xml")});
    EXPECT_EQ(nextProgressive(), 2);

    m_dialogs.answerConfirm(true);
    EXPECT_EQ(exportNow({id}).value(0).progressive, QStringLiteral("00002"));
    EXPECT_EQ(files(), QStringList{QStringLiteral("IT01234567890_00002.xml")});
    EXPECT_EQ(exportedAs(id), QStringLiteral("IT01234567890_00002.xml|00002|1"));
}

// The other workstation has taken a number and not committed yet: this one waits for it and takes the
// next, never the same.
TEST_F(FatturaPaExportTest, TwoWorkstationsExportingAtOnceGetDistinctNumbers)
{
    const int first = invoice(businessCustomer(), OneRow);
    const int second = invoice(businessCustomer(), OneRow);
    auto other = company().newConnection();
    carvendo::core::Transaction otherExport(*other);
    other->exec(
        QStringLiteral("UPDATE fatturapa_configurazione SET ProssimoProgressivo = ProssimoProgressivo + 1"));

    ct::Workstation workstation(company().newConnection());
    QList<einvoice::ExportedFile> mine;
    workstation.start([&](carvendo::core::Db& connection) {
        mine = exporter(connection).exportInvoices({{first, {}, {}}});
    });
    ASSERT_TRUE(workstation.waitsAtTable(db(), QStringLiteral("fatturapa_configurazione")));
    otherExport.commit();
    workstation.finish();
    EXPECT_EQ(mine.value(0).progressive, QStringLiteral("00002"));
    EXPECT_EQ(exportNow({second}).value(0).progressive, QStringLiteral("00003"));
    EXPECT_EQ(files(), (QStringList{"IT01234567890_00002.xml", "IT01234567890_00003.xml"}));
}

// A server error recording the second file: no number is taken, no invoice changes, no file is written.
TEST_F(FatturaPaExportTest, AFailedExportLeavesTheCounterTheInvoicesAndTheFolderAsTheyWere)
{
    const int first = invoice(businessCustomer(), OneRow);
    const int second = invoice(businessCustomer(), OneRow);
    {
        ct::FailingWrite failing(db(), ct::FailingWrite::On::Insert, QStringLiteral("fatturapa_file"));
        EXPECT_EQ(ct::errorOf([&] { exportNow({first, second}); }), ct::failingWriteMessage());
    }
    EXPECT_EQ(nextProgressive(), 1);
    EXPECT_EQ(exportedAs(first) + exportedAs(second), QStringLiteral("00"));
    EXPECT_EQ(files(), QStringList());
    EXPECT_EQ(exportNow({first, second}).size(), 2);
    EXPECT_EQ(files(), (QStringList{"IT01234567890_00001.xml", "IT01234567890_00002.xml"}));
}

// The program stopped, or the folder could not be written, after the commit: the file keeps its
// number and stays pending until it is written from what was recorded.
TEST_F(FatturaPaExportTest, AFileNotWrittenAfterTheCommitKeepsItsNumberAndIsWrittenLater)
{
    const int id = invoice(businessCustomer(), OneRow);
    const QString file = QStringLiteral("IT01234567890_00001.xml");
    QDir().mkpath(QDir(folder()).filePath(file)); // a folder in the way
    const QString notWritten = exportNow({id}).value(0).notWritten;
    EXPECT_TRUE(notWritten.startsWith(QStringLiteral("Il file %1 non è stato scritto: ").arg(file)));
    EXPECT_TRUE(notWritten.endsWith(QStringLiteral(". Sarà scritto alla prossima esportazione.")));
    EXPECT_EQ(nextProgressive(), 2);
    EXPECT_EQ(exportedAs(id), file + QStringLiteral("|00001|1"));
    const auto recorded = [&](const char* column) {
        return db().scalar(QStringLiteral("SELECT %1 FROM fatturapa_file").arg(QLatin1String(column)));
    };
    EXPECT_EQ(recorded("CONCAT_WS('|', NomeFile, Scritto)").toString(), file + QStringLiteral("|0"));

    QDir(folder()).rmdir(file);
    EXPECT_EQ(einvoice::FatturaPaFiles(db(), *m_paths).writePending(), QStringList());
    EXPECT_EQ(contents(file), recorded("Contenuto").toBytes());
    EXPECT_EQ(recorded("CONCAT_WS('|', NomeFile, Scritto)").toString(), file + QStringLiteral("|1"));
    EXPECT_EQ(nextProgressive(), 2);
}

// Another workstation exported the invoice between the question and this export: this one is told,
// takes no number and leaves that file alone.
TEST_F(FatturaPaExportTest, AnInvoiceExportedElsewhereSinceTheChoiceIsToldAndLeftAlone)
{
    const int id = invoice(businessCustomer(), OneRow);
    auto mine = exporter(db());
    const QList<einvoice::ExportChoice> chosen = mine.choose(m_dialogs, {id});
    auto other = company().newConnection();
    ASSERT_TRUE(exporter(*other).exportInvoices(chosen).value(0).written());

    const QList<einvoice::ExportedFile> files = mine.exportInvoices(chosen);
    ASSERT_EQ(files.size(), 1);
    EXPECT_FALSE(files.first().written());
    EXPECT_EQ(files.first().exportedElsewhere,
              QStringLiteral("La fattura 1/2026 è stata esportata da un'altra postazione nel file "
                             "IT01234567890_00001.xml: non è stata esportata di nuovo."));
    EXPECT_EQ(this->files(), QStringList{QStringLiteral("IT01234567890_00001.xml")});
    EXPECT_EQ(nextProgressive(), 2);
}

// The earlier file is the invoice's only one in the folder until its replacement is written, also when
// the replacement is replaced again before that.
TEST_F(FatturaPaExportTest, AReplacedFileStaysUntilItsReplacementIsWritten)
{
    const int id = invoice(businessCustomer(), OneRow);
    ASSERT_EQ(exportNow({id}).size(), 1);
    const QString pending = QStringLiteral("IT01234567890_00002.xml");
    const QString replacement = QStringLiteral("IT01234567890_00003.xml");
    QDir().mkpath(QDir(folder()).filePath(pending)); // folders in the way
    QDir().mkpath(QDir(folder()).filePath(replacement));
    for (int time = 0; time < 2; ++time) {
        m_dialogs.answerConfirm(true);
        EXPECT_FALSE(exportNow({id}).value(0).notWritten.isEmpty());
    }
    EXPECT_EQ(files(), QStringList{QStringLiteral("IT01234567890_00001.xml")});

    QDir(folder()).rmdir(pending);
    QDir(folder()).rmdir(replacement);
    EXPECT_EQ(einvoice::FatturaPaFiles(db(), *m_paths).writePending(), QStringList());
    EXPECT_EQ(files(), QStringList{replacement});
}

// An earlier file that cannot be removed is told; its removal stays owed and is done later.
TEST_F(FatturaPaExportTest, AReplacedFileThatCannotBeRemovedIsToldAndRemovedLater)
{
    const int id = invoice(businessCustomer(), OneRow);
    ASSERT_EQ(exportNow({id}).size(), 1);
    const QString earlier = QDir(folder()).filePath(QStringLiteral("IT01234567890_00001.xml"));
    QFile::remove(earlier);
    QDir().mkpath(earlier); // not a file: it cannot be removed as one
    m_dialogs.answerConfirm(true);
    EXPECT_TRUE(exportNow({id}).value(0).notRemoved.startsWith(
        QStringLiteral("Il file IT01234567890_00001.xml, sostituito da IT01234567890_00002.xml, non è "
                       "stato eliminato: ")));

    QDir().rmdir(earlier);
    ct::writeFile(earlier, "<FatturaElettronica/>");
    EXPECT_EQ(einvoice::FatturaPaFiles(db(), *m_paths).writePending(), QStringList());
    EXPECT_EQ(files(), QStringList{QStringLiteral("IT01234567890_00002.xml")});
}

// Another workstation exports the invoice again while this one fetches its file to send: this one
// waits and sends the new file, never the replaced one written back.
TEST_F(FatturaPaExportTest, TheFileToSendIsTheOneAnExportMeanwhileMade)
{
    const int id = invoice(businessCustomer(), OneRow);
    const QString earlier = exportNow({id}).value(0).fileName;
    QFile::remove(QDir(folder()).filePath(earlier)); // to be written again from its record
    ct::Workstation exporting(company().newConnection());
    ct::Workstation sending(company().newConnection());
    QString sent;
    {
        ct::InsertGate gate(db(), QStringLiteral("fatturapa_file"));
        exporting.start([&](carvendo::core::Db& own) { exporter(own).exportInvoices({{id, earlier, {}}}); });
        ASSERT_TRUE(exporting.waitsAtNamedLock(db()));
        sending.start([&](carvendo::core::Db& own) {
            sent = einvoice::FatturaPaFiles(own, *m_paths).writtenFileOf(id);
        });
        ASSERT_TRUE(sending.waitsAtTable(db(), QStringLiteral("fatture")));
        gate.open();
        exporting.finish();
        sending.finish();
    }
    EXPECT_EQ(sent, QDir(folder()).filePath(QStringLiteral("IT01234567890_00002.xml")));
}

// Deleted since it was listed: left out of the choice and told; deleted after the choice: the export
// is refused naming it.
TEST_F(FatturaPaExportTest, ADeletedInvoiceIsLeftOutOfTheChoiceOrNamedInTheRefusal)
{
    const int kept = invoice(businessCustomer(), OneRow);
    const int gone = invoice(businessCustomer(), OneRow);
    const QString remove = QStringLiteral("DELETE FROM fatture WHERE idFattura = :ID");
    db().exec(remove, {{QStringLiteral("ID"), gone}});
    auto mine = exporter(db());
    const QList<einvoice::ExportChoice> chosen = mine.choose(m_dialogs, {gone, kept});
    EXPECT_EQ(chosen.size(), 1);
    EXPECT_EQ(m_dialogs.lastText(),
              QStringLiteral("Una delle fatture scelte non esiste più: è stata eliminata."));
    db().exec(remove, {{QStringLiteral("ID"), kept}});
    EXPECT_EQ(ct::errorOf([&] { mine.exportInvoices(chosen); }),
              QStringLiteral("La fattura 1/2026 non esiste più: è stata eliminata."));
    EXPECT_EQ(nextProgressive(), 1);
}

} // namespace
