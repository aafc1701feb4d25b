#include "stock/StockQuantity.h"

#include "core/Db.h"
#include "tests/support/TestDatabase.h"

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

class UnloadSoldQuantityTest : public ct::CompanySuite<UnloadSoldQuantityTest>
{
protected:
    void SetUp() override { emptyTables({"articoli", "giacenze"}); }

    int addItem(const QString& um, const QString& umVendita, bool porzioni, double porzValore,
                double giacenza)
    {
        db().exec(QStringLiteral(
                      "INSERT INTO articoli (CodArticolo, UM, UMVENDITA, Porzioni, PorzValore, giacenza, "
                      "Disponibilita) VALUES ('A', :UM, :UMV, :P, :PV, :G, :G)"),
                  {{QStringLiteral("UM"), um},
                   {QStringLiteral("UMV"), umVendita},
                   {QStringLiteral("P"), porzioni},
                   {QStringLiteral("PV"), porzValore},
                   {QStringLiteral("G"), giacenza}});
        return int(db().lastInsertId());
    }

    void addStock(int item, int warehouse, double quantity)
    {
        db().exec(
            QStringLiteral(
                "INSERT INTO giacenze (idarticolo, idmagazzino, magazzino, giacenza, disponibilita) "
                "VALUES (:A, :M, 'NEGOZIO', :Q, :Q)"),
            {{QStringLiteral("A"), item}, {QStringLiteral("M"), warehouse}, {QStringLiteral("Q"), quantity}});
    }

    core::Row item(int id)
    {
        return db()
            .query(QStringLiteral("SELECT giacenza, Disponibilita FROM articoli WHERE ID = :ID"),
                   {{QStringLiteral("ID"), id}})
            .first();
    }

    core::Row stockRow(int id, int warehouse)
    {
        return db()
            .query(QStringLiteral("SELECT giacenza, disponibilita FROM giacenze "
                                  "WHERE idarticolo = :ID AND idmagazzino = :M"),
                   {{QStringLiteral("ID"), id}, {QStringLiteral("M"), warehouse}})
            .first();
    }
};

// Grams sold of a kilo item lower the item's mirror and that warehouse's row, below zero too; a
// warehouse without a row for the item gets one.
TEST_F(UnloadSoldQuantityTest, SoldGramsLowerMirrorAndWarehouseBelowZeroAndMakeAMissingRow)
{
    const int cheese = addItem(QStringLiteral("KG"), QStringLiteral("GR"), false, 0, 2);
    addStock(cheese, 1, 2);
    addStock(cheese, 2, 7);
    EXPECT_DOUBLE_EQ(stock::unloadSoldQuantity(db(), cheese, 1, 2250), 2.25);
    EXPECT_DOUBLE_EQ(item(cheese)["Disponibilita"].toDouble(), -0.25);
    EXPECT_DOUBLE_EQ(stockRow(cheese, 1)["giacenza"].toDouble(), -0.25);
    EXPECT_DOUBLE_EQ(stockRow(cheese, 2)["giacenza"].toDouble(), 7) << "other warehouses stay";

    db().exec(QStringLiteral("INSERT INTO magazzini (idMagazzino, Descrizione) VALUES (9, 'DEPOSITO') "
                             "ON DUPLICATE KEY UPDATE Descrizione = 'DEPOSITO'"));
    db().exec(QStringLiteral("INSERT INTO articoli (CodArticolo, UM, UMVENDITA) VALUES ('B', 'LT', 'ML')"));
    const int oil = int(db().lastInsertId());
    EXPECT_DOUBLE_EQ(stock::unloadSoldQuantity(db(), oil, 9, 500), 0.5);
    EXPECT_DOUBLE_EQ(item(oil)["Disponibilita"].toDouble(), -0.5) << "an empty mirror counts as zero";
    EXPECT_DOUBLE_EQ(stockRow(oil, 9)["giacenza"].toDouble(), -0.5);
    db().exec(QStringLiteral("DELETE FROM magazzini WHERE idMagazzino = 9"));
}

TEST_F(UnloadSoldQuantityTest, AFailedUnloadLeavesTheMirrorAsItWas)
{
    const int item = addItem(QStringLiteral("PZ"), QStringLiteral("PZ"), false, 0, 4);
    addStock(item, 1, 4);
    db().execDirect(QStringLiteral("RENAME TABLE giacenze TO giacenze_via"));
    EXPECT_THROW(stock::unloadSoldQuantity(db(), item, 1, 1), core::DbError);
    db().execDirect(QStringLiteral("RENAME TABLE giacenze_via TO giacenze"));
    EXPECT_DOUBLE_EQ(this->item(item)["giacenza"].toDouble(), 4);
    EXPECT_DOUBLE_EQ(stockRow(item, 1)["giacenza"].toDouble(), 4);
}

} // namespace
