#include "stock/StockRealignment.h"

#include "core/Db.h"
#include "core/Session.h"
#include "tests/stock/StockSuite.h"
#include "tests/support/Workstation.h"

#include <gtest/gtest.h>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class StockRealignmentTest : public ct::StockSuite<StockRealignmentTest>
{
protected:
    void SetUp() override { emptyTables({"giacenze", "venduti", "acquisti", "dettreso"}); }

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
    addStock(5, m_negozio, 10, 9);
    addMovement("acquisti", 5, 1, 6);
    addMovement("acquisti", 5, 1, 4);
    addMovement("venduti", 5, 1, 10);
    addMovement("dettreso", 5, 1, 1);
    // Other warehouses and other items do not count.
    addMovement("acquisti", 5, 2, 50);
    addMovement("venduti", 6, 1, 3);

    const stock::StockFigures figures = m_realignment.realign(5, m_negozio);

    EXPECT_EQ(figures, (stock::StockFigures{10, 10, 1}));

    const core::Rows rows = stockRows(5);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.value(0, "giacenza").toDouble(), 1.0);
    EXPECT_EQ(rows.value(0, "disponibilita").toDouble(), 1.0);
}

TEST_F(StockRealignmentTest, MissingStockRowIsCreatedWithTheStock)
{
    addMovement("acquisti", 9, 1, 3);

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
        addMovement("acquisti", item, 1, c.loaded);
        EXPECT_EQ(m_realignment.figures(item, 1).caricato, c.expected) << c.loaded;
        ++item;
    }
    EXPECT_EQ(m_realignment.figures(999, 1), stock::StockFigures{});
}

TEST_F(StockRealignmentTest, ASalePostedMeanwhileIsCountedNotOverwritten)
{
    addStock(5, m_negozio, 10);
    addMovement("acquisti", 5, 1, 10);
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
