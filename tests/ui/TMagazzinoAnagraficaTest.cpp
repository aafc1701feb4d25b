#include "ui/stock/TMagazzinoAnagrafica.h"

#include "tests/support/QtPrinters.h"
#include "tests/ui/WindowTestBench.h"
#include "ui/common/CardForm.h"

#include <QScopeGuard>

#include <memory>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class TMagazzinoAnagraficaWindowTest : public ct::CompanySuite<TMagazzinoAnagraficaWindowTest>,
                                       protected ct::WindowTestBench
{
protected:
    void SetUp() override
    {
        emptyTables({"magazzini", "giacenze", "articoli"});
        useCompany(company());
    }
};

TEST_F(TMagazzinoAnagraficaWindowTest, FirstWarehouseIsTypedAndSaved)
{
    ui::TMagazzinoAnagrafica window(
        m_environment, {QStringLiteral("TMagazzinoAnagrafica"),
                        {},
                        QStringLiteral("TAzienda"),
                        {{QStringLiteral("descrizione"), QStringLiteral("MAGAZZINO CENTRALE")}}});
    type(window.form().editor(QStringLiteral("Let")), QStringLiteral("C"));
    qobject_cast<QCheckBox*>(window.form().editor(QStringLiteral("Predefinito")))->click();

    buttonCaptioned(window, QStringLiteral("Salva"))->click();
    EXPECT_TRUE(m_dialogs.events().empty()) << m_dialogs.lastText().toStdString();
    const core::NavigationResult result = window.navigationResult();
    const core::Rows stored =
        db().query(QStringLiteral("SELECT idMagazzino, Let, Predefinito FROM magazzini"));
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(result.value.toInt(), stored.value(0, "idMagazzino").toInt());
    EXPECT_TRUE(stored.value(0, "Predefinito").toBool());
}

TEST_F(TMagazzinoAnagraficaWindowTest, AWarehouseTheServerCannotReadIsToldAndTheCardCloses)
{
    db().exec(QStringLiteral("INSERT INTO magazzini (Descrizione) VALUES ('NEGOZIO')"));
    const int id = int(db().lastInsertId());
    std::unique_ptr<ui::TMagazzinoAnagrafica> window;
    {
        // The table taken away stands in for a server that fails the read.
        db().execDirect(QStringLiteral("RENAME TABLE magazzini TO magazzini_via"));
        const auto restore =
            qScopeGuard([] { db().execDirect(QStringLiteral("RENAME TABLE magazzini_via TO magazzini")); });
        window = std::make_unique<ui::TMagazzinoAnagrafica>(
            m_environment, core::NavigationRequest{QStringLiteral("TMagazzinoAnagrafica"), id});
    }
    window->show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(m_dialogs.messages(),
              QStringList{QStringLiteral("Table '%1.magazzini' doesn't exist").arg(company().name())});
}

} // namespace
