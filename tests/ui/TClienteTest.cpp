#include "TCliente.h"
#include "TFornitore.h"
#include "TStoricoCliente.h"

#include "CardForm.h"
#include "CardWindows.h"
#include "Connections.h"
#include "RowsTableModel.h"
#include "TestDatabase.h"
#include "WindowRegistry.h"
#include "WindowTestBench.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class RegistryCardWindowsTest : public ct::CompanySuite<RegistryCardWindowsTest>, protected ct::WindowTestBench
{
protected:
    void SetUp() override
    {
        emptyTables({"clienti", "fornitori", "venduti", "fatture"});
        useCompany(company());
    }
};

TEST_F(RegistryCardWindowsTest, TheCardsAreRegisteredByName)
{
    ui::WindowRegistry registry;
    ui::registerRegistryCardWindows(registry);
    for (const char* name : {"TCliente", "TFornitore", "TStoricoCliente"})
        EXPECT_TRUE(registry.has(QString::fromLatin1(name))) << name;
}

TEST_F(RegistryCardWindowsTest, ANewCustomerIsTypedCheckedAndSaved)
{
    ui::TCliente window(m_environment, {QStringLiteral("TCliente")});
    window.show();
    EXPECT_EQ(window.exitButton().text(), QStringLiteral("Annulla"));
    type(window.personalForm().editor(QStringLiteral("RagioneSociale")), QStringLiteral("D'Amico Sergio"));
    QWidget* piva = window.personalForm().editor(QStringLiteral("pIva"));
    type(piva, QStringLiteral("00000000000"));
    window.logic().fieldLeft(QStringLiteral("pIva"));
    EXPECT_EQ(m_dialogs.messages(), QStringList{QStringLiteral("La Partita IVA inserita è corretta")});

    m_dialogs.answerText(QStringLiteral("Ingrosso"));
    buttonCaptioned(window, QStringLiteral("Nuova categoria cliente"))->click();
    EXPECT_EQ(qobject_cast<QLineEdit*>(window.commercialForm().editor(QStringLiteral("Categoria")))->text(), QStringLiteral("Ingrosso"));

    buttonCaptioned(window, QStringLiteral("Salva"))->click();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    const core::Rows stored = db().query(QStringLiteral("SELECT idCliente, RagioneSociale, pIva, Categoria, Listino FROM clienti"));
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(window.navigationResult().value.toInt(), stored.value(0, "idCliente").toInt());
    EXPECT_EQ(stored.value(0, "RagioneSociale").toString(), QStringLiteral("D'Amico Sergio"));
    EXPECT_EQ(stored.value(0, "pIva").toString(), QStringLiteral("00000000000"));
    EXPECT_EQ(stored.value(0, "Categoria").toString(), QStringLiteral("Ingrosso"));
    EXPECT_EQ(stored.value(0, "Listino").toString(), QStringLiteral("LISTINO1"));
}

TEST_F(RegistryCardWindowsTest, AnEditedCustomerAsksBeforeLeavingAndOpensItsHistory)
{
    db().exec(QStringLiteral("INSERT INTO clienti (CodiceCliente, RagioneSociale) VALUES (4, 'Rossi Mario')"));
    const int id = int(db().lastInsertId());
    ui::TCliente window(m_environment, {QStringLiteral("TCliente"), id});
    window.show();
    EXPECT_EQ(window.exitButton().text(), QStringLiteral("Esci"));
    EXPECT_EQ(qobject_cast<QLineEdit*>(window.personalForm().editor(QStringLiteral("RagioneSociale")))->text(),
              QStringLiteral("Rossi Mario"));

    buttonCaptioned(window, QStringLiteral("Storico vendite"))->click();
    buttonCaptioned(window, QStringLiteral("Crea account web"))->click();
    EXPECT_EQ(m_dialogs.lastText(), QStringLiteral("Gli account web non sono disponibili: configurare la connessione Portavia."));
    EXPECT_EQ(m_navigator.lastRequest(QStringLiteral("TStoricoCliente")).key.toInt(), id);

    type(window.personalForm().editor(QStringLiteral("Telefono")), QStringLiteral("011"));
    m_dialogs.answerConfirm(false);
    window.exitButton().click();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(m_dialogs.lastText(), QStringLiteral("Eventuali modifiche effettuate non saranno salvate. Vuoi uscire senza salvare ?"));
    m_dialogs.answerConfirm(true);
    window.exitButton().click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT Telefono FROM clienti")).toString(), QString());
}

TEST_F(RegistryCardWindowsTest, ASupplierCardMakesACustomer)
{
    db().exec(QStringLiteral("INSERT INTO fornitori (Codice, RagSoc, CittaLeg) VALUES ('3', 'Ingrosso Nord', 'Asti')"));
    const int id = int(db().lastInsertId());
    ui::TFornitore window(m_environment, {QStringLiteral("TFornitore"), id});
    window.show();
    EXPECT_EQ(qobject_cast<QLineEdit*>(window.form().editor(QStringLiteral("RagSoc")))->text(), QStringLiteral("Ingrosso Nord"));

    buttonCaptioned(window, QStringLiteral("Crea cliente"))->click();
    const int idCliente = m_navigator.lastRequest(QStringLiteral("TCliente")).key.toInt();
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT Citta FROM clienti WHERE idCliente = :ID"), {{QStringLiteral("ID"), idCliente}}).toString(),
              QStringLiteral("Asti"));
    window.exitButton().click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(m_dialogs.events().empty()) << m_dialogs.lastText().toStdString();
}

TEST_F(RegistryCardWindowsTest, TheCommercialCommandsChangeTheCardShown)
{
    db().exec(QStringLiteral("INSERT INTO clienti (CodiceCliente, RagioneSociale, idAgente, Agente) "
                             "VALUES (5, 'Bianchi Luca', 3, 'Neri Paolo')"));
    ui::TCliente window(m_environment, {QStringLiteral("TCliente"), int(db().lastInsertId())});
    window.show();
    const auto shown = [&](const char* column) {
        return qobject_cast<QLineEdit*>(window.commercialForm().editor(QString::fromLatin1(column)))->text();
    };
    EXPECT_EQ(shown("Agente"), QStringLiteral("Neri Paolo"));

    m_dialogs.answerConfirm(true);
    buttonCaptioned(window, QStringLiteral("Elimina agente"))->click();
    EXPECT_EQ(m_dialogs.lastText(),
              QStringLiteral("Sei sicuro di voler eliminare l'Agente associato a questo Cliente?"));
    EXPECT_EQ(shown("Agente"), QString());

    buttonCaptioned(window, QStringLiteral("Genera tessera"))->click();
    EXPECT_EQ(shown("barcode").size(), 14);
    EXPECT_EQ(window.exitButton().text(), QStringLiteral("Esci"));
}

TEST_F(RegistryCardWindowsTest, ACardOnARecordGoneMeanwhileSaysSoAndCloses)
{
    ui::TCliente customer(m_environment, {QStringLiteral("TCliente"), 999999});
    ui::TFornitore supplier(m_environment, {QStringLiteral("TFornitore"), 999999});
    for (QDialog* card : std::initializer_list<QDialog*>{&customer, &supplier})
        card->show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(customer.isVisible());
    EXPECT_FALSE(supplier.isVisible());
    EXPECT_EQ(m_dialogs.messages(),
              (QStringList{
                  QStringLiteral("Il cliente non esiste più: può essere stato eliminato da un'altra postazione."),
                  QStringLiteral("Il fornitore non esiste più: può essere stato eliminato da un'altra postazione.")}));
}

TEST_F(RegistryCardWindowsTest, TheHistoryFindsACustomerByNameAndShowsItsSales)
{
    db().exec(QStringLiteral("INSERT INTO clienti (CodiceCliente, RagioneSociale) VALUES (1, 'D''Amico Sergio')"));
    const int id = int(db().lastInsertId());
    db().exec(QStringLiteral("INSERT INTO venduti (idCliente, idArticolo) VALUES (:ID, 1), (:ID, 2)"), {{QStringLiteral("ID"), id}});

    ui::TStoricoCliente window(m_environment, {QStringLiteral("TStoricoCliente")});
    window.show();
    type(&window.searchText(), QStringLiteral("D'Amico"));
    pressEnter(&window.searchText());
    EXPECT_EQ(window.customers().rowCount(), 1);
    EXPECT_EQ(window.sales().rowCount(), 2);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Storico Cliente: D'Amico Sergio"));
}

} // namespace
