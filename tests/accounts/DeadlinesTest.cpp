#include "accounts/Deadlines.h"
#include "accounts/PaymentTermCard.h"
#include "accounts/PaymentTerms.h"
#include "stock/loads/Carico.h"
#include "stock/loads/LoadDeadlines.h"
#include "stock/loads/LoadPosting.h"
#include "stock/loads/LoadTracking.h"

#include "core/Db.h"
#include "core/Error.h"
#include "core/Paths.h"
#include "core/Session.h"
#include "tests/support/FailingWrite.h"
#include "tests/support/Login.h"
#include "tests/support/RecordingNavigator.h"
#include "tests/support/RecordingReportOutput.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/Workstation.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace carvendo;
namespace ct = carvendo::testing;
using accounts::DeadlineDocument;

namespace {

core::Money euro(const char* text)
{
    return *core::Money::parse(QString::fromLatin1(text));
}

DeadlineDocument document(int rifDoc, const QString& tipoDoc, const QString& tipo,
                          QList<accounts::Instalment> rate)
{
    DeadlineDocument result;
    result.rifDoc = rifDoc;
    result.tipoDoc = tipoDoc;
    result.tipo = tipo;
    result.nrDoc = rifDoc;
    result.anno = QStringLiteral("2025");
    result.mese = QStringLiteral("Febbraio");
    result.dataDoc = QDate(2025, 2, 10);
    result.pagamento = QStringLiteral("RI.BA. 30/60 GG F.M.");
    result.note = DeadlineDocument::saleNote(QString::number(rifDoc));
    result.soggetto = QStringLiteral("ROSSI SRL");
    result.idSoggetto = 4;
    result.rate = std::move(rate);
    return result;
}

DeadlineDocument invoice(int id, const char* first, const char* second)
{
    return document(id, DeadlineDocument::invoiceKind(), DeadlineDocument::credit(),
                    {{euro(first), QDate(2025, 3, 30)}, {euro(second), QDate(2025, 4, 29)}});
}

class DeadlinesTest : public ct::CompanySuite<DeadlinesTest>
{
protected:
    void SetUp() override { emptyTables({"scadenzario", "carichi"}); }

    // "scadenza Importo Evaso" of the document's rows, by due date.
    static QStringList rowsOf(int rifDoc, const QString& tipoDoc, const QString& tipo)
    {
        QStringList rows;
        for (const core::Row row : db().query(
                 QStringLiteral(
                     "SELECT scadenza, Importo, Evaso, Cliente, Fornitore, Note FROM scadenzario WHERE "
                     "rifDoc = :R AND TipoDoc = :T AND Tipo = :K ORDER BY scadenza, idScadenza"),
                 {{QStringLiteral("R"), rifDoc},
                  {QStringLiteral("T"), tipoDoc},
                  {QStringLiteral("K"), tipo}}))
            rows << QStringLiteral("%1 %2 %3 %4%5 %6")
                        .arg(row["scadenza"].toDate().toString(Qt::ISODate),
                             row["Importo"].toMoney().toDecimalString(),
                             row["Evaso"].toBool() ? QStringLiteral("evaso") : QStringLiteral("aperto"),
                             row["Cliente"].toString(), row["Fornitore"].toString(), row["Note"].toString());
        return rows;
    }
    static QStringList invoiceRows(int id)
    {
        return rowsOf(id, DeadlineDocument::invoiceKind(), DeadlineDocument::credit());
    }
};

} // namespace

TEST_F(DeadlinesTest, DocumentsOfTheSameNumberKeepTheirOwnDeadlines)
{
    accounts::Deadlines deadlines(db());
    deadlines.write(invoice(7, "50", "50"));
    deadlines.write(document(7, DeadlineDocument::deliveryNoteKind(), DeadlineDocument::credit(),
                             {{euro("10"), QDate(2025, 3, 1)}}));
    // A load whose supplier document is a delivery note: same number and kind, money to pay.
    deadlines.write(document(7, DeadlineDocument::deliveryNoteKind(), DeadlineDocument::debit(),
                             {{euro("20"), QDate(2025, 3, 2)}}));

    ASSERT_TRUE(deadlines.write(invoice(7, "60", "60")));

    EXPECT_EQ(invoiceRows(7),
              (QStringList{"2025-03-30 60.0000 aperto ROSSI SRL Numero documento di vendita '7'",
                           "2025-04-29 60.0000 aperto ROSSI SRL Numero documento di vendita '7'"}));
    EXPECT_EQ(rowsOf(7, QStringLiteral("DDT"), QStringLiteral("Credito")),
              QStringList{"2025-03-01 10.0000 aperto ROSSI SRL Numero documento di vendita '7'"});
    EXPECT_EQ(rowsOf(7, QStringLiteral("DDT"), QStringLiteral("Debito")),
              QStringList{"2025-03-02 20.0000 aperto ROSSI SRL Numero documento di vendita '7'"});
}

TEST_F(DeadlinesTest, RewritingKeepsWhatWasPaidAndWritingTwiceWritesOnce)
{
    accounts::Deadlines deadlines(db());
    ASSERT_TRUE(deadlines.write(invoice(8, "50", "50")));
    const QString ids =
        QStringLiteral("SELECT GROUP_CONCAT(idScadenza ORDER BY idScadenza) FROM scadenzario");
    const QString before = db().scalar(ids).toString();
    EXPECT_FALSE(deadlines.write(invoice(8, "50", "50")));
    EXPECT_EQ(db().scalar(ids).toString(), before);

    db().exec(QStringLiteral("UPDATE scadenzario SET Evaso = TRUE WHERE scadenza = '2025-03-30'"));
    ASSERT_TRUE(deadlines.write(invoice(8, "70", "70")));
    EXPECT_EQ(invoiceRows(8),
              (QStringList{"2025-03-30 50.0000 evaso ROSSI SRL Numero documento di vendita '8'",
                           "2025-04-29 70.0000 aperto ROSSI SRL Numero documento di vendita '8'"}));
}

TEST_F(DeadlinesTest, AFailedRewriteLeavesTheDeadlinesAsTheyWere)
{
    accounts::Deadlines deadlines(db());
    deadlines.write(invoice(9, "50", "50"));
    const QStringList before = invoiceRows(9);
    {
        ct::FailingWrite failing(db(), ct::FailingWrite::On::Insert, QStringLiteral("scadenzario"));
        try {
            deadlines.write(invoice(9, "80", "80"));
            FAIL() << "the failing insert went through";
        } catch (const core::Error& failure) {
            EXPECT_TRUE(failure.message().contains(ct::failingWriteMessage()))
                << failure.message().toStdString();
        }
    }
    EXPECT_EQ(invoiceRows(9), before);
}

TEST_F(DeadlinesTest, TwoWorkstationsWritingAtOnceKeepTheirOwnRows)
{
    accounts::Deadlines deadlines(db());
    core::Transaction mine(db());
    deadlines.write(invoice(10, "50", "50"));

    ct::Workstation other(company().newConnection());
    other.start([](core::Db& connection) { accounts::Deadlines(connection).write(invoice(11, "30", "30")); });
    EXPECT_TRUE(other.waitsAtNamedLock(*company().newConnection()));
    mine.commit();
    other.finish();

    EXPECT_EQ(invoiceRows(10).size(), 2);
    EXPECT_EQ(invoiceRows(11),
              (QStringList{"2025-03-30 30.0000 aperto ROSSI SRL Numero documento di vendita '11'",
                           "2025-04-29 30.0000 aperto ROSSI SRL Numero documento di vendita '11'"}));
}

TEST_F(DeadlinesTest, ALoadWritesWhatItOwesFromItsPaymentTerm)
{
    const int id = insert("carichi", {{"NumeroCarico", 12},
                                      {"TipoDoc", "FATTURA"},
                                      {"Anno", "2025"},
                                      {"Mese", "Febbraio"},
                                      {"data", QDate(2025, 2, 12)},
                                      {"Datadoc", QDate(2025, 2, 10)},
                                      {"idFornitore", 5},
                                      {"Fornitore", "BETA SPA"},
                                      {"tipopagamento", "RI.BA. 30/60 GG F.M."},
                                      {"imponibile", 100.0},
                                      {"ivatotale", 22.0},
                                      {"totaledocumento", 122.0}});
    core::Session session;
    ct::logIn(session, {}, {1, QStringLiteral("NEGOZIO")});
    stock::LoadDeadlines loads(db());
    loads.write(stock::LoadStore(db()).read(id), QStringLiteral("FATTURA"));

    EXPECT_EQ(rowsOf(id, QStringLiteral("FATTURA"), QStringLiteral("Debito")),
              (QStringList{"2025-03-30 61.0000 aperto BETA SPA Numero documento di carico '12'",
                           "2025-04-29 61.0000 aperto BETA SPA Numero documento di carico '12'"}));
    const core::Rows header =
        db().query(QStringLiteral("SELECT NRATE, PRATA1, DRATA2, PRATA3, Scadenzario FROM "
                                  "carichi WHERE idCarico = :ID"),
                   {{QStringLiteral("ID"), id}});
    EXPECT_EQ(header.value(0, "NRATE").toInt(), 2);
    EXPECT_EQ(header.value(0, "PRATA1").toMoney(), euro("61"));
    EXPECT_EQ(header.value(0, "DRATA2").toDate(), QDate(2025, 4, 29));
    EXPECT_TRUE(header.value(0, "PRATA3").isNull());
    EXPECT_TRUE(header.value(0, "Scadenzario").toBool());

    // The supplier's document becomes a delivery note: the rows follow it, the paid one still paid
    // and not written again.
    db().exec(QStringLiteral("UPDATE scadenzario SET Evaso = TRUE WHERE scadenza = '2025-03-30'"));
    db().exec(QStringLiteral("UPDATE carichi SET TipoDoc = 'DDT' WHERE idCarico = :ID"),
              {{QStringLiteral("ID"), id}});
    loads.follow(stock::LoadStore(db()).read(id), QStringLiteral("FATTURA"));
    EXPECT_TRUE(rowsOf(id, QStringLiteral("FATTURA"), QStringLiteral("Debito")).isEmpty());
    const QStringList moved = rowsOf(id, QStringLiteral("DDT"), QStringLiteral("Debito"));
    ASSERT_EQ(moved.size(), 2);
    EXPECT_TRUE(moved.first().contains(QStringLiteral(" evaso ")));

    // A load undone takes what was still to pay with it; a paid instalment stays on record.
    stock::LoadTracking tracking(session, QStringLiteral("test"));
    stock::LoadPosting(db(), session, tracking).discard(id);
    EXPECT_EQ(rowsOf(id, QStringLiteral("DDT"), QStringLiteral("Debito")),
              QStringList{"2025-03-30 61.0000 evaso BETA SPA Numero documento di carico '12'"});
}

TEST_F(DeadlinesTest, TheLoadWindowWritesItsDeadlinesAndItsSaveKeepsThemInStep)
{
    emptyTables({"dettcarico", "fornitori", "prima_nota"});
    insert("fornitori", {{"id_fornitore", 5}, {"RagSoc", "BETA SPA"}});
    QTemporaryDir data;
    core::Paths paths(data.path(), data.path());
    core::Session session;
    ct::logIn(session, {core::Privilege::FullAccess}, {1, QStringLiteral("NEGOZIO")});
    ct::ScriptedDialogs dialogs;
    ct::RecordingNavigator navigator;
    ct::RecordingReportOutput reports;
    stock::Carico carico(db(), session, paths, dialogs, navigator, reports);
    ASSERT_TRUE(carico.openNew(QStringLiteral("FATTURA")));
    carico.setSupplier(5);
    carico.setDocumentDate(QDate(2025, 2, 10));
    carico.setPayment(QStringLiteral("RI.BA. 30/60/90 GG F.M."));
    EXPECT_FALSE(carico.scadenze());
    EXPECT_EQ(dialogs.lastText(), QStringLiteral("Attenzione! Inserire almeno un'articolo"));

    // The rows as posted: what matters here is the total they leave on the header.
    insert("dettcarico", {{"idCarico", carico.id()}, {"idarticolo", 0}, {"quantita", 1}});
    const QString total = QStringLiteral("UPDATE carichi SET totaledocumento = :T WHERE idCarico = :ID");
    db().exec(total, {{QStringLiteral("T"), 90.0}, {QStringLiteral("ID"), carico.id()}});
    ASSERT_TRUE(carico.scadenze());
    EXPECT_EQ(dialogs.lastText(),
              QStringLiteral("Scadenze registrate:\n30/03/2025   € 30,00\n29/04/2025   € 30,00\n"
                             "29/05/2025   € 30,00"));
    EXPECT_EQ(rowsOf(carico.id(), QStringLiteral("FATTURA"), QStringLiteral("Debito")).size(), 3);

    db().exec(total, {{QStringLiteral("T"), 120.0}, {QStringLiteral("ID"), carico.id()}});
    ASSERT_TRUE(carico.save());
    EXPECT_EQ(rowsOf(carico.id(), QStringLiteral("FATTURA"), QStringLiteral("Debito")).first(),
              QStringLiteral("2025-03-30 40.0000 aperto BETA SPA Numero documento di carico '%1'")
                  .arg(carico.header().numero));
}

class PaymentTermsTest : public ct::CompanySuite<PaymentTermsTest>
{
};

TEST_F(PaymentTermsTest, ACardRefusesMoreThanFourInstalments)
{
    ct::ScriptedDialogs dialogs;
    accounts::PaymentTermCard card(db(), dialogs);
    card.setDescrizione(QStringLiteral("RI.BA. 5 RATE"));
    card.setNrRate(5);
    EXPECT_FALSE(card.save());
    EXPECT_EQ(dialogs.lastText(), QStringLiteral("Il numero delle rate deve essere compreso tra 1 e 4"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM pagamenti WHERE Descrizione = 'RI.BA. 5 RATE'")), 0);

    card.setNrRate(2);
    card.setIvaPrimaRata(true);
    card.setDecorrenza(QStringLiteral("Fine mese"));
    card.addInstalment();
    card.setInstalment(1, {60, 0});
    ASSERT_TRUE(card.save());
    const std::optional<accounts::PaymentTerm> stored = accounts::PaymentTermStore(db()).find(card.id());
    ASSERT_TRUE(stored);
    EXPECT_EQ(*stored, card.term());
    EXPECT_EQ(stored->tipoRate, QStringLiteral("Iva prima rata"));
}

TEST_F(PaymentTermsTest, AFailedDeleteKeepsTheTermWithItsInstalments)
{
    ct::ScriptedDialogs dialogs;
    ct::RecordingNavigator navigator;
    core::Session session;
    ct::logIn(session, {core::Privilege::Cancellazione});
    accounts::PaymentTerms terms(db(), session, dialogs, navigator);
    const QString instalmentsOf7 = QStringLiteral("SELECT COUNT(*) FROM rate WHERE idpagamento = 7");
    {
        ct::FailingWrite failing(db(), ct::FailingWrite::On::Delete, QStringLiteral("pagamenti"));
        dialogs.answerConfirm(true);
        EXPECT_THROW(terms.remove(7), core::Error);
    }
    EXPECT_EQ(count(instalmentsOf7), 2);
    dialogs.answerConfirm(true);
    EXPECT_TRUE(terms.remove(7));
    EXPECT_EQ(dialogs.texts(ct::DialogEvent::Kind::Confirm).last(),
              QStringLiteral("Eliminare il pagamento selezionato?"));
    EXPECT_EQ(count(instalmentsOf7), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM pagamenti WHERE id = 7")), 0);
}
