#include "ui/stock/TSottoscorta.h"

#include "tests/ui/WindowTestBench.h"

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class TSottoscortaWindowTest : public ct::CompanySuite<TSottoscortaWindowTest>, protected ct::WindowTestBench
{
protected:
    void SetUp() override
    {
        emptyTables({"articoli", "sottoscorta"});
        db().exec(QStringLiteral(
            "INSERT INTO articoli (CodArticolo, Descrizione, giacenza, Scorta, Fornitore) VALUES "
            "('A', 'Alimentatore', 2, 2, 'TIM SPA'), ('B', 'Batteria', 0, 3, 'WIND'), "
            "('C', 'Cavo', 9, 1, 'WIND')"));
        useCompany(company());
    }
};

TEST_F(TSottoscortaWindowTest, ListsFiltersAndStoresTheQuantityToOrder)
{
    ui::TSottoscorta window(m_environment, {QStringLiteral("TSottoscorta")});
    window.show();
    QAbstractItemModel* grid = window.grid()->model();
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->index(0, 0).data().toString(), QStringLiteral("A"))
        << "stock equal to the minimum is listed";

    window.supplierFilter()->setCurrentIndex(window.supplierFilter()->findText(QStringLiteral("WIND")));
    ASSERT_EQ(grid->rowCount(), 1);
    const QModelIndex quantity = grid->index(0, 6);
    EXPECT_TRUE(grid->setData(quantity, 10, Qt::EditRole));
    QCoreApplication::processEvents();
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT qtaordine FROM sottoscorta WHERE codart = 'B'")).toInt(),
              10);
    EXPECT_TRUE(m_dialogs.messages().isEmpty());
}

} // namespace
