#include "ui/registry/TCliente.h"
#include "ui/registry/TFornitore.h"
#include "ui/registry/TStoricoCliente.h"

#include "tests/support/FailingWrite.h"
#include "tests/ui/WindowTestBench.h"
#include "ui/common/CardForm.h"
#include "ui/common/RowsTableModel.h"

#include <QScopeGuard>

#include <memory>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class RegistryCardWindowsTest : public ct::CompanySuite<RegistryCardWindowsTest>,
                                protected ct::WindowTestBench
{
protected:
    void SetUp() override
    {
        emptyTables({"clienti", "fornitori", "venduti", "fatture"});
        useCompany(company());
    }

    static QString text(ui::CardForm& form, const char* column)
    {
        return qobject_cast<QLineEdit*>(form.editor(QString::fromLatin1(column)))->text();
    }
};

TEST_F(RegistryCardWindowsTest, ASaveTheServerFailsIsToldAndTheCardStaysAsTypedForTheNextTry)
{
    // The server fails the insert after the card's own checks passed.
    auto failingInsert =
        std::make_unique<ct::FailingWrite>(db(), ct::FailingWrite::On::Insert, QStringLiteral("clienti"));
    ui::TCliente window(m_environment, {QStringLiteral("TCliente")});
    window.show();
    type(window.personalForm().editor(QStringLiteral("RagioneSociale")), QStringLiteral("Bianchi Luca"));
    type(window.personalForm().editor(QStringLiteral("CodFisc")), QStringLiteral("BNCLCU80A01L219X"));

    buttonCaptioned(window, QStringLiteral("Salva"))->click();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(text(window.personalForm(), "RagioneSociale"), QStringLiteral("Bianchi Luca"));

    db().exec(QStringLiteral("INSERT INTO fornitori (Codice, RagSoc) VALUES ('3', 'Ingrosso Nord')"));
    ui::TFornitore supplier(m_environment, {QStringLiteral("TFornitore"), int(db().lastInsertId())});
    supplier.show();
    buttonCaptioned(supplier, QStringLiteral("Crea cliente"))->click();
    EXPECT_TRUE(supplier.isVisible());
    EXPECT_EQ(m_dialogs.messages(), (QStringList{ct::failingWriteMessage(), ct::failingWriteMessage()}));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM clienti")).toInt(), 0);

    failingInsert.reset();
    buttonCaptioned(window, QStringLiteral("Salva"))->click();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(
        window.navigationResult().value.toInt(),
        db().scalar(QStringLiteral("SELECT idCliente FROM clienti WHERE RagioneSociale = 'Bianchi Luca'"))
            .toInt());
    buttonCaptioned(supplier, QStringLiteral("Crea cliente"))->click();
    EXPECT_EQ(
        m_navigator.lastRequest(QStringLiteral("TCliente")).key.toInt(),
        db().scalar(QStringLiteral("SELECT idCliente FROM clienti WHERE RagioneSociale = 'Ingrosso Nord'"))
            .toInt());
}

TEST_F(RegistryCardWindowsTest, ACardOnARecordGoneMeanwhileSaysSoAndCloses)
{
    ui::TCliente customer(m_environment, {QStringLiteral("TCliente"), 999999});
    ui::TFornitore supplier(m_environment, {QStringLiteral("TFornitore"), 999999});
    customer.show();
    supplier.show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(customer.isVisible());
    EXPECT_FALSE(supplier.isVisible());
    EXPECT_EQ(
        m_dialogs.messages(),
        (QStringList{
            QStringLiteral("Il cliente non esiste più: può essere stato eliminato da un'altra postazione."),
            QStringLiteral(
                "Il fornitore non esiste più: può essere stato eliminato da un'altra postazione.")}));
}

TEST_F(RegistryCardWindowsTest, AHistorySearchTheServerFailsIsToldAndTheWindowStays)
{
    ui::TStoricoCliente history(m_environment, {QStringLiteral("TStoricoCliente")});
    history.show();
    {
        // The table taken away stands in for a server that fails the search.
        db().execDirect(QStringLiteral("RENAME TABLE clienti TO clienti_via"));
        const auto restore =
            qScopeGuard([] { db().execDirect(QStringLiteral("RENAME TABLE clienti_via TO clienti")); });
        type(&history.searchText(), QStringLiteral("Rossi"));
        pressEnter(&history.searchText());
    }
    EXPECT_TRUE(history.isVisible());
    EXPECT_EQ(history.customers().rowCount(), 0);
    EXPECT_EQ(m_dialogs.messages(),
              QStringList{QStringLiteral("Table '%1.clienti' doesn't exist").arg(company().name())});
}

} // namespace
