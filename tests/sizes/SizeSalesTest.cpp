#include "stock/sizes/GridCells.h"
#include "stock/sizes/ScaricoTC.h"

#include "tests/sizes/SizesFixture.h"
#include "tests/support/ScriptedDialogs.h"

#include <gtest/gtest.h>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class SizeSalesTest : public ct::SizesSuite<SizeSalesTest>
{
protected:
    void SetUp() override
    {
        SizesSuite::SetUp();
        // A red and a blue row in warehouse 1, a red one in warehouse 2; cell barcodes by row and size.
        for (const auto& [colour, warehouse, first] :
             {std::tuple{"ROSSO", 1, 100}, std::tuple{"BLU", 1, 200}, std::tuple{"ROSSO", 2, 300}}) {
            core::Params params{{"ID", m_item}, {"COLORE", colour}, {"MAG", warehouse}};
            QStringList columns;
            QStringList values;
            for (int size = 1; size <= 30; ++size) {
                columns << QStringLiteral("TG%1, BAR%1").arg(size);
                values << QStringLiteral("1, :BAR%1").arg(size);
                params.insert(QStringLiteral("BAR%1").arg(size), QStringLiteral("%1").arg(first + size));
            }
            db().exec(QStringLiteral(
                          "INSERT INTO disptc (idarticolo, Gruppo_taglia, Colore, idmagazzino, Magazzino, "
                          "%1) VALUES (:ID, 'ADULTO', :COLORE, :MAG, CONCAT('MAGAZZINO ', :MAG), %2)")
                          .arg(columns.join(", "), values.join(", ")),
                      params);
        }
    }

    stock::SizeSaleDocument invoice(bool lowersGrid)
    {
        return {QStringLiteral("Fattura"), 77, lowersGrid, 1};
    }

    QStringList sold()
    {
        return rows(QStringLiteral(
            "SELECT iddoc, tipodoc, colore, taglia, quantita, Descrizione FROM scaricotcdoc ORDER BY id"));
    }
};

TEST_F(SizeSalesTest, ScanningACellLowersOnlyThatCellAndMayGoNegative)
{
    stock::GridCells cells(db());
    core::Transaction sale(db());
    const std::optional<stock::GridCell> cell = cells.sellOne(QStringLiteral("205"));
    sale.commit();
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->colour, QStringLiteral("BLU"));
    EXPECT_EQ(cell->sizeLabel, QStringLiteral("XXL"));
    EXPECT_EQ(grid(), (QStringList{QStringLiteral("ROSSO|1|1|1|1|1|1"), QStringLiteral("BLU|1|1|1|1|1|0"),
                                   QStringLiteral("ROSSO|2|1|1|1|1|1")}));
    EXPECT_EQ(cells.sellOne(QStringLiteral("205"))->quantity, -1);
    EXPECT_EQ(grid()[1], QStringLiteral("BLU|1|1|1|1|1|-1"));
    EXPECT_FALSE(cells.sellOne(QStringLiteral("999")));
}

TEST_F(SizeSalesTest, ConfirmRecordsTheSizesSoldAndLowersTheGridOfAStockDocument)
{
    ct::ScriptedDialogs dialogs;
    stock::ScaricoTC window(db(), dialogs, invoice(true));
    window.open(m_item);
    ASSERT_EQ(window.rows().size(), 2) << "the colours the item is stocked in";
    EXPECT_EQ(window.rows().value(0, "Colore").toString(), QStringLiteral("BLU"));
    EXPECT_TRUE(window.setQuantity(0, 2, 2));
    EXPECT_TRUE(window.setQuantity(1, 5, 3));
    EXPECT_FALSE(window.setQuantity(1, 5, -1));
    EXPECT_EQ(window.totalQuantity(), 5);

    EXPECT_EQ(window.listCaption(1), QStringLiteral("19,90"));
    EXPECT_EQ(window.listCaption(2), QStringLiteral("Non Impostato"));
    EXPECT_FALSE(window.chooseList(2));
    EXPECT_TRUE(window.chooseList(3));
    EXPECT_EQ(window.price(), core::Money::fromInt(15));

    ASSERT_TRUE(window.confirm());
    EXPECT_EQ(sold(), (QStringList{QStringLiteral("77|Fattura|BLU|M|2|Maglia MAGLIA"),
                                   QStringLiteral("77|Fattura|ROSSO|XXL|3|Maglia MAGLIA")}));
    EXPECT_EQ(grid(), (QStringList{QStringLiteral("ROSSO|1|1|1|1|1|-2"), QStringLiteral("BLU|1|1|-1|1|1|1"),
                                   QStringLiteral("ROSSO|2|1|1|1|1|1")}));
    EXPECT_FALSE(window.confirm()) << "a second Conferma records nothing more";
    EXPECT_EQ(sold().size(), 2);
    EXPECT_EQ(dialogs.messages(), (QStringList{QStringLiteral("La quantità non può essere negativa"),
                                               QStringLiteral("Nessun prezzo impostato su Questo listino!"),
                                               QStringLiteral("Inserire almeno una quantità da scaricare")}));
}

TEST_F(SizeSalesTest, TwoWindowsSellingAtOnceKeepTheirOwnRowsAndAFailureRecordsNothing)
{
    const auto other = company().newConnection();
    ct::ScriptedDialogs dialogs;
    stock::ScaricoTC mine(db(), dialogs, {QStringLiteral("Preventivo"), 5, false, 1});
    mine.open(m_item);
    mine.setQuantity(0, 1, 1);
    {
        stock::ScaricoTC theirs(*other, dialogs, invoice(false));
        theirs.open(m_item);
        theirs.setQuantity(1, 3, 4);
        EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM scaricotc")), 4);
    } // their window closes: only its rows go
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM scaricotc WHERE proprietario = :P"),
                    {{"P", mine.owner()}}),
              2);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM scaricotc")), 2);

    {
        const ct::FailingWrite fault(db(), ct::FailingWrite::On::Delete, QStringLiteral("scaricotc"));
        EXPECT_THROW(mine.confirm(), core::DbError);
    }
    EXPECT_EQ(sold(), QStringList());
    ASSERT_TRUE(mine.confirm());
    EXPECT_EQ(sold(), QStringList{QStringLiteral("5|Preventivo|BLU|S|1|Maglia MAGLIA")});
    EXPECT_EQ(grid()[1], QStringLiteral("BLU|1|1|1|1|1|1")) << "a quote leaves the grid as it is";
}

} // namespace
