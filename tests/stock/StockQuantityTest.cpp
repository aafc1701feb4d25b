#include "stock/StockQuantity.h"

#include "core/Db.h"
#include "tests/stock/StockSuite.h"

#include <gtest/gtest.h>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

TEST(StockQuantityTest, SoldQuantitiesBecomeStockQuantities)
{
    struct Case
    {
        double sold;
        stock::SaleUnits units;
        double expected;
    };
    const Case cases[] = {
        {250,
         {QStringLiteral(" kg"), QStringLiteral("gr "), false, 0},
         0.25},                                                         // letter case and blanks ignored
        {7, {QStringLiteral("GR"), QStringLiteral("KG"), false, 0}, 7}, // a pair the table lacks: one to one
        {4, {QStringLiteral("KG"), QStringLiteral("GR"), true, 250}, 1.0}, // four portions of 250 g
        {2,
         {QStringLiteral("LT"), QStringLiteral("ML"), false, 0.5},
         0.002}, // portion size ignored without portions
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(stock::stockQuantity(c.sold, c.units), c.expected)
            << c.sold << " " << c.units.um.toStdString() << "/" << c.units.umVendita.toStdString();
}

class UnloadSoldQuantityTest : public ct::StockSuite<UnloadSoldQuantityTest>
{
protected:
    void SetUp() override { emptyTables({"articoli", "giacenze"}); }

    // The item's mirror of what is available.
    static double mirror(int id)
    {
        return db()
            .scalar(QStringLiteral("SELECT Disponibilita FROM articoli WHERE ID = :ID"),
                    {{QStringLiteral("ID"), id}})
            .toDouble();
    }

    const core::Warehouse m_negozio{1, QStringLiteral("NEGOZIO")};
};

TEST_F(UnloadSoldQuantityTest, AFailedUnloadLeavesTheMirrorAsItWas)
{
    const int item = addItem(QStringLiteral("A"), {{"UM", "PZ"}, {"UMVENDITA", "PZ"}, {"Disponibilita", 4}});
    addStock(item, m_negozio, 4);
    db().execDirect(QStringLiteral("RENAME TABLE giacenze TO giacenze_via"));
    EXPECT_THROW(stock::unloadSoldQuantity(db(), item, 1, 1), core::DbError);
    db().execDirect(QStringLiteral("RENAME TABLE giacenze_via TO giacenze"));
    EXPECT_DOUBLE_EQ(mirror(item), 4);
    EXPECT_DOUBLE_EQ(stockOf(item, 1), 4);
}

} // namespace
