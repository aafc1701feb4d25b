#include "stock/Disponibilita.h"

#include "core/Db.h"
#include "tests/stock/StockSuite.h"

#include <gtest/gtest.h>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class DisponibilitaTest : public ct::StockSuite<DisponibilitaTest>
{
protected:
    void SetUp() override { emptyTables({"articoli", "giacenze", "magazzini"}); }
};

TEST_F(DisponibilitaTest, StockOfAnItemInEveryWarehouseAndInOne)
{
    const core::Warehouse sede = addWarehouse(QStringLiteral("SEDE"));
    const core::Warehouse negozio = addWarehouse(QStringLiteral("NEGOZIO"));
    addWarehouse(QStringLiteral("DEPOSITO"));
    const int item = addItem(QStringLiteral("IPH15"), {{"Descrizione", "iPhone 15 128GB"}});
    addStock(item, sede, 4, 3);
    addStock(item, negozio, -1);
    addStock(item + 1, sede, 50); // another item

    stock::Disponibilita stock(db());
    stock.open(item);
    EXPECT_EQ(stock.itemCaption(), QStringLiteral("IPH15 - iPhone 15 128GB"));
    ASSERT_EQ(stock.rows().size(), 2);
    EXPECT_DOUBLE_EQ(stock.rows().value(0, "giacenza").toDouble(), -1);
    EXPECT_DOUBLE_EQ(stock.rows().value(1, "disponibilita").toDouble(), 3);

    stock.filterByWarehouse(QStringLiteral("SEDE"));
    ASSERT_EQ(stock.rows().size(), 1);
    EXPECT_DOUBLE_EQ(stock.rows().value(0, "giacenza").toDouble(), 4);
    stock.filterByWarehouse(QStringLiteral("' OR ''='"));
    EXPECT_TRUE(stock.rows().isEmpty());
}

} // namespace
