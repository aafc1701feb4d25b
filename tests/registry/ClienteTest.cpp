#include "registry/Cliente.h"

#include "core/Db.h"
#include "foundation/PrivacyNotice.h"
#include "tests/support/FailingWrite.h"
#include "tests/support/RecordingReportOutput.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/Workstation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class ClienteTest : public ct::CompanySuite<ClienteTest>
{
protected:
    void SetUp() override
    {
        emptyTables({"clienti", "comuni", "catclienti", "settclienti", "defclienti"});
        db().exec(QStringLiteral("UPDATE contatori SET barcodecliente = ''"));
    }

    int insertCustomer(int code, const QString& name)
    {
        db().exec(
            QStringLiteral(
                "INSERT INTO clienti (CodiceCliente, RagioneSociale, idAgente, Agente, idfidelity, fidelity) "
                "VALUES (:CODICE, :NOME, 3, 'Neri Paolo', 5, 'GOLD')"),
            {{QStringLiteral("CODICE"), code}, {QStringLiteral("NOME"), name}});
        return int(db().lastInsertId());
    }

    core::Row stored(int id)
    {
        return db()
            .query(QStringLiteral("SELECT * FROM clienti WHERE idCliente = :ID"),
                   {{QStringLiteral("ID"), id}})
            .first();
    }

    ct::ScriptedDialogs m_dialogs;
    registry::Cliente m_card{company().db(), m_dialogs};
};

TEST_F(ClienteTest, NewCustomersTakeTheNextCodeAndKeepWhatWasTyped)
{
    insertCustomer(7, QStringLiteral("Rossi Mario"));
    m_card.openNew();
    EXPECT_EQ(m_card.value(QStringLiteral("CodiceCliente")).toInt(), 8);
    m_card.setValue(QStringLiteral("RagioneSociale"), QStringLiteral("D'Amico Sergio"));
    m_dialogs.answerConfirm(true); // a private customer without codice fiscale, kept after asking
    ASSERT_TRUE(m_card.save());

    const core::Row row = stored(m_card.id());
    EXPECT_EQ(row["CodiceCliente"].toInt(), 8);
    EXPECT_EQ(row["RagioneSociale"].toString(), QStringLiteral("D'Amico Sergio"));
    EXPECT_EQ(row["Listino"].toString(), QStringLiteral("LISTINO1"));

    // Saving again changes the same row.
    m_card.setValue(QStringLiteral("email"), QStringLiteral("sergio@esempio.it"));
    ASSERT_TRUE(m_card.save());
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM clienti")).toInt(), 2);
}

TEST_F(ClienteTest, ACustomerWithoutNameIsNotSaved)
{
    m_card.openNew();
    m_card.setValue(QStringLiteral("Nome"), QStringLiteral("Anna"));
    EXPECT_FALSE(m_card.save());
    EXPECT_EQ(m_dialogs.messages(),
              QStringList{QStringLiteral("Inserire la ragione sociale o il cognome del cliente.")});
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM clienti")).toInt(), 0);
    EXPECT_THROW(m_card.setValue(QStringLiteral("Inesistente"), 1), std::invalid_argument);
}

TEST_F(ClienteTest, LeavingTaxFieldsInformsWithoutBlockingTheSave)
{
    struct Case
    {
        const char* column;
        const char* typed;
        QString message; // empty: nothing shown
    };
    const Case cases[] = {
        {"pIva", "1234",
         QStringLiteral("La lunghezza della partita IVA non è corretta: la partita IVA dovrebbe essere lunga "
                        "esattamente 11 caratteri.")},
        {"Telefono", "0123", {}},
    };
    m_card.openNew();
    m_card.setValue(QStringLiteral("RagioneSociale"), QStringLiteral("Bianchi Luca"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        m_dialogs.clear();
        m_card.setValue(QString::fromLatin1(c.column), QString::fromLatin1(c.typed));
        m_card.fieldLeft(QString::fromLatin1(c.column));
        EXPECT_EQ(m_dialogs.messages(), c.message.isEmpty() ? QStringList{} : QStringList{c.message});
    }
    // An invalid code is saved as typed (the missing codice fiscale is only asked about).
    m_dialogs.answerConfirm(true);
    ASSERT_TRUE(m_card.save());
    EXPECT_EQ(stored(m_card.id())["pIva"].toString(), QStringLiteral("1234"));
}

TEST_F(ClienteTest, CardsAreIssuedFromTheCounterAndStoredOnSavedCustomers)
{
    const int id = insertCustomer(1, QStringLiteral("Rossi Mario"));
    ASSERT_TRUE(m_card.open(id));
    ASSERT_TRUE(m_card.issueCard());
    EXPECT_EQ(stored(id)["barcode"].toString(), QStringLiteral("70000010001001"));

    // A customer with a card is asked before getting a new one.
    m_dialogs.answerConfirm(false);
    EXPECT_FALSE(m_card.issueCard());
    EXPECT_EQ(m_dialogs.lastText(),
              QStringLiteral("Il cliente ha già una tessera. Assegnare una nuova tessera?"));
    m_dialogs.answerConfirm(true);
    ASSERT_TRUE(m_card.issueCard());
    EXPECT_EQ(stored(id)["barcode"].toString(), QStringLiteral("70000010001010"));

    // A new customer keeps the card until saved.
    m_card.openNew();
    ASSERT_TRUE(m_card.issueCard());
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM clienti WHERE barcode = :B"),
                          {{QStringLiteral("B"), m_card.value(QStringLiteral("barcode"))}})
                  .toInt(),
              0);
}

TEST_F(ClienteTest, MunicipalitiesFillPostcodeAndProvince)
{
    db().exec(QStringLiteral("INSERT INTO comuni (comune, Cap, SiglaProv) VALUES ('Torino', '10100', 'TO'), "
                             "('Asti', '14100', 'AT')"));
    m_card.openNew();

    m_dialogs.answerOption(1);
    m_card.chooseMunicipality();
    EXPECT_EQ(m_dialogs.events().back().options,
              (QStringList{QStringLiteral("Asti (AT)"), QStringLiteral("Torino (TO)")}));
    EXPECT_EQ(m_card.value(QStringLiteral("ProvRes")).toString(), QStringLiteral("TO"));

    // A city with one postcode per district asks which one; a cancel changes nothing.
    db().exec(QStringLiteral("UPDATE comuni SET Cap = '10121 10122 10123' WHERE comune = 'Torino'"));
    m_dialogs.answerOption(1).answerCancel();
    m_card.setValue(QStringLiteral("Citta"), QString());
    m_card.chooseMunicipality();
    EXPECT_EQ(m_card.value(QStringLiteral("Citta")).toString(), QString());
    m_dialogs.answerOption(1).answerOption(2);
    m_card.chooseMunicipality();
    EXPECT_EQ(m_card.value(QStringLiteral("Cap")).toString(), QStringLiteral("10123"));

    m_card.setValue(QStringLiteral("Citta"), QStringLiteral("Canelli"));
    m_dialogs.answerText(QStringLiteral("Canelli"))
        .answerText(QStringLiteral("14053"))
        .answerText(QStringLiteral("at"));
    ASSERT_TRUE(m_card.newMunicipality());
    EXPECT_EQ(m_card.value(QStringLiteral("ProvRes")).toString(), QStringLiteral("AT"));

    // A province longer than two letters is refused and nothing is added.
    m_dialogs.answerText(QStringLiteral("Nizza"))
        .answerText(QStringLiteral("14049"))
        .answerText(QStringLiteral("Asti"));
    EXPECT_FALSE(m_card.newMunicipality());
    EXPECT_EQ(m_dialogs.lastText(), QStringLiteral("La sigla della Provincia è di due lettere."));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM comuni")).toInt(), 3);
}

TEST_F(ClienteTest, PlusButtonsAddADescriptionAndChooseIt)
{
    m_card.openNew();
    EXPECT_FALSE(m_card.chooseSector());
    EXPECT_EQ(m_dialogs.lastText(),
              QStringLiteral("Nessuna voce da scegliere: aggiungerne una con il pulsante di inserimento."));
    m_dialogs.answerText(QStringLiteral("  Ingrosso d'Italia "));
    ASSERT_TRUE(m_card.addDefinition());
    EXPECT_EQ(m_card.value(QStringLiteral("Definizione")).toString(), QStringLiteral("Ingrosso d'Italia"));
    // The same description again is chosen, not added twice; a cancel changes nothing.
    m_dialogs.answerText(QStringLiteral("Ingrosso d'Italia"));
    ASSERT_TRUE(m_card.addDefinition());
    m_dialogs.answerCancel();
    EXPECT_FALSE(m_card.addDefinition());
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM defclienti")).toInt(), 1);

    // Existing descriptions are chosen from their table, in order.
    db().exec(QStringLiteral("INSERT INTO catclienti (Categoria) VALUES ('Bar'), ('Aziende')"));
    m_dialogs.answerOption(0);
    ASSERT_TRUE(m_card.chooseCategory());
    EXPECT_EQ(m_dialogs.events().back().options,
              (QStringList{QStringLiteral("Aziende"), QStringLiteral("Bar")}));
    EXPECT_EQ(m_card.value(QStringLiteral("Categoria")).toString(), QStringLiteral("Aziende"));
}

TEST_F(ClienteTest, TwoWorkstationsAddingOneCategoryAddItOnce)
{
    m_card.openNew();
    const auto other = company().newConnection();
    ct::HalfDoneCommand theirAdd(*other, QStringLiteral("catclienti"),
                                 QStringLiteral("INSERT INTO catclienti (Categoria) VALUES ('Aziende')"));
    m_dialogs.answerText(QStringLiteral("Aziende"));
    bool added = false;
    ct::Workstation here(db());
    here.start([&](core::Db&) { added = m_card.addCategory(); });
    EXPECT_TRUE(here.waitsAtNamedLock(*other));
    theirAdd.finish();
    here.finish();

    EXPECT_TRUE(added);
    EXPECT_EQ(m_card.value(QStringLiteral("Categoria")).toString(), QStringLiteral("Aziende"));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM catclienti")).toInt(), 1);
}

TEST_F(ClienteTest, ASaveWritesOnlyWhatTheCardChangedAndNothingIntoADeletedCustomer)
{
    const int id = insertCustomer(1, QStringLiteral("Verdi Anna"));
    ASSERT_TRUE(m_card.open(id));
    // Another workstation gives the customer a web account, a card and a phone meanwhile.
    const auto other = company().newConnection();
    const core::Params customer{{QStringLiteral("ID"), id}};
    other->exec(
        QStringLiteral("UPDATE clienti SET USERNAME = 'anna', PASS = 'segreta', AccountAttivo = TRUE, "
                       "barcode = '70000010001001', fidelity = 'SILVER', Telefono = '0543 1' "
                       "WHERE idCliente = :ID"),
        customer);
    m_card.setValue(QStringLiteral("Cellulare"), QStringLiteral("333 1234567"));
    ASSERT_TRUE(m_card.save());
    const core::Row row = stored(id);
    EXPECT_EQ(row["Cellulare"].toString(), QStringLiteral("333 1234567"));
    EXPECT_EQ(row["USERNAME"].toString(), QStringLiteral("anna"));
    EXPECT_EQ(row["barcode"].toString(), QStringLiteral("70000010001001"));
    EXPECT_EQ(row["Telefono"].toString(), QStringLiteral("0543 1"));

    // Deleted by the other workstation: the save says so and makes no row.
    other->exec(QStringLiteral("DELETE FROM clienti WHERE idCliente = :ID"), customer);
    m_card.setValue(QStringLiteral("Note"), QStringLiteral("richiamare"));
    EXPECT_FALSE(m_card.save());
    EXPECT_EQ(m_dialogs.lastText(),
              QStringLiteral("Il cliente non esiste più: le modifiche non sono state salvate"));
    EXPECT_TRUE(m_card.isModified());
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM clienti")).toInt(), 0);
}

TEST_F(ClienteTest, AgentAndFidelityAreRemovedOnlyWhenConfirmed)
{
    const int id = insertCustomer(1, QStringLiteral("Rossi Mario"));
    ASSERT_TRUE(m_card.open(id));

    m_dialogs.answerConfirm(false);
    EXPECT_FALSE(m_card.removeAgent());
    EXPECT_EQ(m_dialogs.lastText(),
              QStringLiteral("Sei sicuro di voler eliminare l'Agente associato a questo Cliente?"));

    m_dialogs.answerConfirm(true).answerConfirm(true);
    EXPECT_TRUE(m_card.removeAgent());
    EXPECT_TRUE(m_card.removeFidelity());
    // Nothing left to remove: no question.
    EXPECT_FALSE(m_card.removeAgent());
    ASSERT_TRUE(m_card.save());
    const core::Row row = stored(id);
    EXPECT_TRUE(row["idAgente"].isNull());
    EXPECT_TRUE(row["idfidelity"].isNull());
}

TEST_F(ClienteTest, WebAccountsLiveOnTheExchangeBesideTheirMirrorInTheCard)
{
    const int id = insertCustomer(1, QStringLiteral("D'Amico Sergio"));
    ASSERT_TRUE(m_card.open(id));
    EXPECT_FALSE(m_card.createWebAccount());
    EXPECT_EQ(m_dialogs.lastText(),
              QStringLiteral("Gli account web non sono disponibili: configurare la connessione Portavia."));

    ct::ExchangeDatabase exchange;
    m_card.setWebAccounts(registry::WebAccounts([&]() -> core::Db& { return exchange.db(); }));
    exchange.db().execDirect(QStringLiteral(
        "INSERT INTO users (id_user, username, passwd, attivo) VALUES (999, 'occupato', 'x', 1)"));
    const auto account = [&] {
        return exchange.db().query(
            QStringLiteral("SELECT username, passwd, attivo FROM users WHERE id_user = :ID"),
            {{QStringLiteral("ID"), id}});
    };

    // A name another account holds is refused.
    m_dialogs.answerText(QStringLiteral("occupato")).answerText(QStringLiteral("segreta"));
    EXPECT_FALSE(m_card.createWebAccount());
    EXPECT_EQ(m_dialogs.lastText(), QStringLiteral("Lo username è già usato da un altro account."));
    EXPECT_TRUE(account().isEmpty());

    m_dialogs.answerText(QStringLiteral("sergio")).answerText(QStringLiteral("segreta"));
    ASSERT_TRUE(m_card.createWebAccount());
    ASSERT_EQ(account().size(), 1);
    EXPECT_EQ(account().value(0, "passwd").toString(), QStringLiteral("segreta"));
    EXPECT_EQ(stored(id)["USERNAME"].toString(), QStringLiteral("sergio"));

    EXPECT_FALSE(m_card.createWebAccount());
    EXPECT_EQ(m_dialogs.lastText(), QStringLiteral("Il cliente ha già un account web."));

    m_dialogs.answerConfirm(true);
    ASSERT_TRUE(m_card.deleteWebAccount());
    EXPECT_TRUE(account().isEmpty());
    EXPECT_TRUE(stored(id)["USERNAME"].isNull());

    // Only a saved customer has an account.
    m_card.setValue(QStringLiteral("Telefono"), QStringLiteral("011"));
    EXPECT_FALSE(m_card.updateWebAccount());
    EXPECT_EQ(m_dialogs.lastText(), QStringLiteral("Salvare il cliente prima di gestirne l'account web."));
}

TEST_F(ClienteTest, AnExchangeThatRefusesTheAccountLeavesTheCardAsItWas)
{
    const int id = insertCustomer(1, QStringLiteral("Verdi Anna"));
    ASSERT_TRUE(m_card.open(id));
    ct::ExchangeDatabase exchange;
    m_card.setWebAccounts(registry::WebAccounts([&]() -> core::Db& { return exchange.db(); }));
    // The exchange refuses the new row after the checks passed.
    const ct::FailingWrite fault(exchange.db(), ct::FailingWrite::On::Insert, QStringLiteral("users"));
    m_dialogs.answerText(QStringLiteral("anna")).answerText(QStringLiteral("segreta"));
    EXPECT_THROW(m_card.createWebAccount(), core::DbError);
    EXPECT_TRUE(stored(id)["USERNAME"].isNull());
    EXPECT_TRUE(m_card.value(QStringLiteral("USERNAME")).toString().isEmpty());
    EXPECT_FALSE(m_card.isModified());
}

TEST_F(ClienteTest, ThePrivacyFormCarriesTheCustomerTheNoticeAndTheDay)
{
    const int id = insertCustomer(1, QStringLiteral("D'Amico Sergio"));
    db().exec(QStringLiteral("UPDATE clienti SET Indirizzo = 'Via Sant''Anna 3', Citta = 'Forlì', CodFisc = "
                             "'DMCSRG80A01D704X' "
                             "WHERE idCliente = :ID"),
              {{QStringLiteral("ID"), id}});
    foundation::PrivacyNotice(db()).save(
        QStringLiteral("I dati sono trattati per la gestione delle riparazioni."));
    db().execDirect(QStringLiteral("SET timestamp = UNIX_TIMESTAMP('2026-03-05 10:00:00')"));
    ct::RecordingReportOutput reports;

    m_card.openNew();
    EXPECT_FALSE(m_card.printPrivacy(reports));
    EXPECT_EQ(m_dialogs.lastText(),
              QStringLiteral("Salvare il cliente prima di stampare il modulo privacy."));
    EXPECT_TRUE(reports.requests().empty());

    ASSERT_TRUE(m_card.open(id));
    ASSERT_TRUE(m_card.printPrivacy(reports));
    EXPECT_EQ(reports.last().kind, ct::RecordedReport::Kind::Preview);

    const QString pdf =
        QDir::temp().filePath(QStringLiteral("privacy-%1.pdf").arg(QCoreApplication::applicationPid()));
    reports.exportPdf(m_card.privacyForm(), pdf);
    const QString text = ct::pdfText(pdf).simplified();
    QFile::remove(pdf);
    db().execDirect(QStringLiteral("SET timestamp = DEFAULT"));
    for (const char* expected : {"D'Amico Sergio", "Via Sant'Anna 3", "Forlì", "DMCSRG80A01D704X",
                                 "I dati sono trattati per la gestione delle riparazioni.", "05/03/2026"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
}

} // namespace
