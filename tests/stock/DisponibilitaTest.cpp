#include "stock/Disponibilita.h"

#include "core/Db.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class DisponibilitaTest : public ct::CompanySuite<DisponibilitaTest>
{
protected:
    void SetUp() override { emptyTables({"articoli", "giacenze", "magazzini"}); }

    void addStock(int item, int warehouse, const QString& name, double giacenza, double disponibilita)
    {
        db().exec(QStringLiteral(
                      "INSERT INTO giacenze (idarticolo, idmagazzino, magazzino, giacenza, disponibilita) "
                      "VALUES (:A, :M, :N, :G, :D)"),
                  {{QStringLiteral("A"), item},
                   {QStringLiteral("M"), warehouse},
                   {QStringLiteral("N"), name},
                   {QStringLiteral("G"), giacenza},
                   {QStringLiteral("D"), disponibilita}});
    }
};

TEST_F(DisponibilitaTest, StockOfAnItemInEveryWarehouseAndInOne)
{
    for (const char* name : {"SEDE", "NEGOZIO", "DEPOSITO"})
        db().exec(QStringLiteral("INSERT INTO magazzini (Descrizione) VALUES (:N)"),
                  {{QStringLiteral("N"), QString::fromLatin1(name)}});
    db().exec(QStringLiteral(
        "INSERT INTO articoli (CodArticolo, Descrizione) VALUES ('IPH15', 'iPhone 15 128GB')"));
    const int item = int(db().lastInsertId());
    addStock(item, 1, QStringLiteral("SEDE"), 4, 3);
    addStock(item, 2, QStringLiteral("NEGOZIO"), -1, -1);
    addStock(item + 1, 1, QStringLiteral("SEDE"), 50, 50); // another item

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
