#include "ui/registry/TClienti.h"

#include "tests/ui/WindowTestBench.h"
#include "ui/common/WindowRegistry.h"
#include "ui/registry/ListWindows.h"
#include "ui/registry/RegistryListWindow.h"
#include "ui/registry/RegistryPickerWindow.h"

#include <QHeaderView>

#include <memory>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

QStringList shownNames(QTableView* grid)
{
    QStringList names;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        names << grid->model()->index(r, 2).data().toString();
    return names;
}

class TClientiTest : public ct::CompanySuite<TClientiTest>, protected ct::WindowTestBench
{
protected:
    void SetUp() override
    {
        db().exec(QStringLiteral("DELETE FROM clienti"));
        db().exec(QStringLiteral(
            "INSERT INTO clienti (CodiceCliente, RagioneSociale, Citta) VALUES "
            "(1, 'D''Amico Sergio', 'Forlì'), (2, 'Bianchi Luca', 'Roma'), (3, 'Damiani Eva', 'Bari')"));
        useCompany(company());
        logInWithPrivilege(core::Privilege::Cancellazione);
        ui::registerRegistryListWindows(m_registry);
    }

    std::unique_ptr<ui::Window> create(const QString& name, const QString& caller = {})
    {
        return std::unique_ptr<ui::Window>(
            m_registry.create(name, m_environment, core::NavigationRequest{name, {}, caller, {}}, nullptr));
    }

    ui::WindowRegistry m_registry;
};

TEST_F(TClientiTest, TheListSearchesByTheTypedNameAndDeletes)
{
    auto window = create(QStringLiteral("TClienti"));
    auto* list = dynamic_cast<ui::RegistryListWindow*>(window.get());
    ASSERT_NE(list, nullptr);
    QTableView* grid = list->panel()->grid();

    list->panel()->searchLine()->setText(QStringLiteral("D'Amico"));
    pressEnter(list->panel()->searchLine());
    ASSERT_EQ(shownNames(grid), QStringList{QStringLiteral("D'Amico Sergio")});

    m_dialogs.answerConfirm(true);
    buttonCaptioned(*window, QStringLiteral("Elimina"))->click();
    EXPECT_TRUE(shownNames(grid).isEmpty());
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM clienti")).toInt(), 2);
}

TEST_F(TClientiTest, EnterOnARowOpensTheCardAndTheLayoutIsKept)
{
    {
        auto window = create(QStringLiteral("TClienti"));
        QTableView* grid = static_cast<ui::RegistryListWindow*>(window.get())->panel()->grid();
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(1, 2));
        pressEnter(grid);
        ASSERT_EQ(m_navigator.requests().size(), 1u);
        EXPECT_EQ(db().scalar(QStringLiteral("SELECT RagioneSociale FROM clienti WHERE idCliente = :ID"),
                              {{QStringLiteral("ID"), m_navigator.requests()[0].key}})
                      .toString(),
                  QStringLiteral("D'Amico Sergio"));
        grid->horizontalHeader()->resizeSection(2, 321);
        buttonCaptioned(*window, QStringLiteral("Esci"))->click();
    }
    auto again = create(QStringLiteral("TClienti"));
    EXPECT_EQ(static_cast<ui::RegistryListWindow*>(again.get())
                  ->panel()
                  ->grid()
                  ->horizontalHeader()
                  ->sectionSize(2),
              321);
}

TEST_F(TClientiTest, ThePickerHandsTheChosenCustomerToItsCaller)
{
    auto window = create(QStringLiteral("TClientiPreleva"), QStringLiteral("FatturaImmediata"));
    auto* picker = dynamic_cast<ui::RegistryPickerWindow*>(window.get());
    ASSERT_NE(picker, nullptr);
    picker->panel()->searchLine()->setText(QStringLiteral("amico"));
    pressEnter(picker->panel()->searchLine());
    ASSERT_EQ(shownNames(picker->panel()->grid()), QStringList{QStringLiteral("D'Amico Sergio")});
    buttonCaptioned(*window, QStringLiteral("Conferma"))->click();
    const core::NavigationResult result = window->navigationResult();
    EXPECT_EQ(result.values.value(QStringLiteral("Citta")).toString(), QStringLiteral("Forlì"));
}

} // namespace
