#include "ui/stock/TDisponibilita.h"

#include "tests/ui/WindowTestBench.h"

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class TDisponibilitaWindowTest : public ct::CompanySuite<TDisponibilitaWindowTest>,
                                 protected ct::WindowTestBench
{
protected:
    void SetUp() override
    {
        emptyTables({"articoli", "giacenze", "magazzini"});
        db().exec(QStringLiteral(
            "INSERT INTO magazzini (idMagazzino, Descrizione) VALUES (1, 'SEDE'), (2, 'NEGOZIO')"));
        db().exec(QStringLiteral(
            "INSERT INTO articoli (ID, CodArticolo, Descrizione) VALUES (7, 'TEL', 'Telefono')"));
        db().exec(QStringLiteral(
            "INSERT INTO giacenze (idarticolo, idmagazzino, magazzino, giacenza, disponibilita) "
            "VALUES (7, 1, 'SEDE', 5, 4), (7, 2, 'NEGOZIO', -2, -2)"));
        useCompany(company());
    }
};

TEST_F(TDisponibilitaWindowTest, ShowsEveryWarehouseThenTheChosenOne)
{
    ui::TDisponibilita window(m_environment, {QStringLiteral("TDisponibilita"), 7});
    window.show();
    QAbstractItemModel* grid = window.grid()->model();
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->index(0, 0).data().toString(), QStringLiteral("NEGOZIO"));

    window.warehouseFilter()->setCurrentIndex(window.warehouseFilter()->findText(QStringLiteral("SEDE")));
    ASSERT_EQ(window.grid()->model()->rowCount(), 1);
}

} // namespace
