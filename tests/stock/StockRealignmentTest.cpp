#include "stock/StockRealignment.h"

#include "core/Db.h"
#include "core/Session.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/Workstation.h"

#include <gtest/gtest.h>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class StockRealignmentTest : public ct::CompanySuite<StockRealignmentTest>
{
protected:
    void SetUp() override { emptyTables({"giacenze", "venduti", "acquisti", "dettreso"}); }

    void load(int item, int warehouse, double quantity)
    {
        db().exec(
            QStringLiteral("INSERT INTO acquisti (idarticolo, idMagazzino, quantita) VALUES (:A, :M, :Q)"),
            {{QStringLiteral("A"), item}, {QStringLiteral("M"), warehouse}, {QStringLiteral("Q"), quantity}});
    }
    void sell(int item, int warehouse, double quantity)
    {
        db().exec(
            QStringLiteral("INSERT INTO venduti (idArticolo, idMagazzino, quantita) VALUES (:A, :M, :Q)"),
            {{QStringLiteral("A"), item}, {QStringLiteral("M"), warehouse}, {QStringLiteral("Q"), quantity}});
    }
    void giveBack(int item, int warehouse, double quantity)
    {
        db().exec(
            QStringLiteral("INSERT INTO dettreso (idarticolo, idmagazzino, quantita) VALUES (:A, :M, :Q)"),
            {{QStringLiteral("A"), item}, {QStringLiteral("M"), warehouse}, {QStringLiteral("Q"), quantity}});
    }
    void stockRow(int item, int warehouse, double giacenza, double disponibilita)
    {
        db().exec(QStringLiteral(
                      "INSERT INTO giacenze (idarticolo, idmagazzino, magazzino, giacenza, disponibilita) "
                      "VALUES (:A, :M, 'NEGOZIO', :G, :D)"),
                  {{QStringLiteral("A"), item},
                   {QStringLiteral("M"), warehouse},
                   {QStringLiteral("G"), giacenza},
                   {QStringLiteral("D"), disponibilita}});
    }
    core::Rows stockRows(int item)
    {
        return db().query(
            QStringLiteral("SELECT idmagazzino, magazzino, giacenza, disponibilita FROM giacenze "
                           "WHERE idarticolo = :A ORDER BY idmagazzino"),
            {{QStringLiteral("A"), item}});
    }

    const core::Warehouse m_negozio{1, QStringLiteral("NEGOZIO")};
    stock::StockRealignment m_realignment{company().db()};
};

TEST_F(StockRealignmentTest, StockBecomesLoadedMinusSoldPlusReturned)
{
    stockRow(5, 1, 10, 9);
    load(5, 1, 6);
    load(5, 1, 4);
    sell(5, 1, 10);
    giveBack(5, 1, 1);
    // Other warehouses and other items do not count.
    load(5, 2, 50);
    sell(6, 1, 3);

    const stock::StockFigures figures = m_realignment.realign(5, m_negozio);

    EXPECT_EQ(figures, (stock::StockFigures{10, 10, 1}));

    const core::Rows rows = stockRows(5);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.value(0, "giacenza").toDouble(), 1.0);
    EXPECT_EQ(rows.value(0, "disponibilita").toDouble(), 1.0);
}

TEST_F(StockRealignmentTest, MissingStockRowIsCreatedWithTheStock)
{
    load(9, 1, 3);

    EXPECT_EQ(m_realignment.realign(9, m_negozio).stock(), 3);
    m_realignment.realign(9, m_negozio);
    const core::Rows rows = stockRows(9);
    ASSERT_EQ(rows.size(), 1) << "realigning twice makes no second row";
    EXPECT_EQ(rows.value(0, "magazzino").toString(), QStringLiteral("NEGOZIO"));
    EXPECT_EQ(rows.value(0, "disponibilita").toDouble(), 3.0);
}

TEST_F(StockRealignmentTest, SumsAreWholeNumbersAndNoHistoryIsZero)
{
    struct Case
    {
        double loaded;
        qint64 expected;
    };
    const Case cases[] = {{2.5, 2}, {3.5, 4}}; // half to even
    int item = 100;
    for (const Case& c : cases) {
        load(item, 1, c.loaded);
        EXPECT_EQ(m_realignment.figures(item, 1).caricato, c.expected) << c.loaded;
        ++item;
    }
    EXPECT_EQ(m_realignment.figures(999, 1), stock::StockFigures{});
}

TEST_F(StockRealignmentTest, ASalePostedMeanwhileIsCountedNotOverwritten)
{
    stockRow(5, 1, 10, 10);
    load(5, 1, 10);
    // Another till is posting a sale of one piece: its sold row and its stock movement are written,
    // not yet committed.
    std::unique_ptr<core::Db> till = company().newConnection();
    till->begin();
    till->exec(QStringLiteral("INSERT INTO venduti (idArticolo, idMagazzino, quantita) VALUES (5, 1, 1)"));
    till->call(QStringLiteral("SCARICO_MAGAZZINO"), {5, 1, 1.0});

    ct::Workstation office(company().newConnection());
    stock::StockFigures figures;
    office.start([&](core::Db& own) { figures = stock::StockRealignment(own).realign(5, m_negozio); });
    EXPECT_TRUE(office.waitsAtTable(db(), QStringLiteral("giacenze")));
    till->commit();
    office.finish();

    EXPECT_EQ(figures, (stock::StockFigures{10, 1, 0}));
    EXPECT_EQ(stockRows(5).value(0, "giacenza").toDouble(), 9.0);
}

} // namespace
