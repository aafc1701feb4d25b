#include "stock/ItemLifecycle.h"

#include "core/Db.h"
#include "core/Session.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class ItemLifecycleTest : public ct::CompanySuite<ItemLifecycleTest>
{
protected:
    void SetUp() override
    {
        emptyTables({"articoli", "giacenze", "reparti", "venduti", "acquisti", "seriali"});
    }

    core::Row item(int id)
    {
        return db()
            .query(QStringLiteral("SELECT * FROM articoli WHERE ID = :ID"), {{QStringLiteral("ID"), id}})
            .first();
    }

    int addDepartment(const QString& code, const QString& name, int rate)
    {
        db().exec(QStringLiteral("INSERT INTO reparti (reparto, descrizione, aliquota) VALUES (:R, :D, :A)"),
                  {{QStringLiteral("R"), code}, {QStringLiteral("D"), name}, {QStringLiteral("A"), rate}});
        return int(db().lastInsertId());
    }

    const core::Warehouse m_centrale{7, QStringLiteral("CENTRALE")};
    stock::ItemLifecycle m_items{company().db()};
};

TEST_F(ItemLifecycleTest, NewItemTakesTheFirstDepartmentAndItsRateAndOneEmptyStockRow)
{
    // Without departments a new item gets rate 21 and no department.
    const core::Row bare = item(m_items.createNew(m_centrale));
    EXPECT_EQ(bare["Aliquota"].toInt(), 21);
    EXPECT_TRUE(bare["idreparto"].isNull());

    const int first = addDepartment(QStringLiteral("1"), QStringLiteral("ALIMENTARI"), 10);
    addDepartment(QStringLiteral("2"), QStringLiteral("TELEFONIA"), 22);

    const int id = m_items.createNew(m_centrale);

    const core::Row row = item(id);
    EXPECT_EQ(row["Aliquota"].toInt(), 10);
    EXPECT_EQ(row["idreparto"].toInt(), first);
    for (const char* zero :
         {"giacenza", "Disponibilita", "PrezzoAcquisto", "Pubblico", "Listino2", "RICARICO1"}) {
        EXPECT_FALSE(row[zero].isNull()) << zero;
        EXPECT_EQ(row[zero].toDouble(), 0.0) << zero;
    }

    const core::Rows stock = db().query(QStringLiteral("SELECT * FROM giacenze WHERE idarticolo = :ID"),
                                        {{QStringLiteral("ID"), id}});
    ASSERT_EQ(stock.size(), 1);
    EXPECT_EQ(stock.value(0, "idmagazzino").toInt(), 7);
    EXPECT_EQ(stock.value(0, "giacenza").toDouble(), 0.0);
}

TEST_F(ItemLifecycleTest, DiscardedNewItemAndDuplicateOfAMissingItemLeaveNothing)
{
    const int id = m_items.createNew(m_centrale);
    m_items.discardNew(id);
    EXPECT_EQ(m_items.duplicate(424242, m_centrale), 0) << "a missing item is not duplicated";
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM articoli")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM giacenze")), 0);
}

TEST_F(ItemLifecycleTest, DuplicateCopiesTheItemButNotTheShopOptionsAndMakesAnEmptyStockRow)
{
    db().exec(QStringLiteral(
        "INSERT INTO articoli (CodArticolo, BarcodeFull, Descrizione, Pubblico, PrezzoVendnoiva, "
        "`Ricarico%`, "
        "`Utile%`, giacenza, Disponibilita, obsoleto, esente_iva, selezione, promo_importo, isbn, Aliquota) "
        "VALUES ('C1', '8005001002000', 'CAVO USB', 12.5, 10.25, 30, 20, 4, 3, TRUE, TRUE, TRUE, 1.5, "
        "'978-88', 22)"));
    const int original = int(db().lastInsertId());
    db().exec(
        QStringLiteral("INSERT INTO giacenze (idarticolo, idmagazzino, magazzino, giacenza, disponibilita) "
                       "VALUES (:ID, 7, 'CENTRALE', 4, 3)"),
        {{QStringLiteral("ID"), original}});

    const int copy = m_items.duplicate(original, m_centrale);
    ASSERT_NE(copy, original);

    const core::Row row = item(copy);
    EXPECT_EQ(row["giacenza"].toDouble(), 4.0);
    EXPECT_EQ(row["isbn"].toString(), QStringLiteral("978-88"));
    for (const char* empty :
         {"PrezzoVendnoiva", "Ricarico%", "Utile%", "obsoleto", "esente_iva", "selezione", "promo_importo"})
        EXPECT_EQ(row[empty].toDouble(), 0.0) << empty;

    const core::Rows stock = db().query(QStringLiteral("SELECT * FROM giacenze WHERE idarticolo = :ID"),
                                        {{QStringLiteral("ID"), copy}});
    ASSERT_EQ(stock.size(), 1);
    EXPECT_EQ(stock.value(0, "idmagazzino").toInt(), 7);
    EXPECT_EQ(stock.value(0, "giacenza").toDouble(), 0.0);
}

TEST_F(ItemLifecycleTest, RemovingAnItemWithHistoryKeepsTheHistory)
{
    const int id = m_items.createNew(m_centrale);
    const int other = m_items.createNew(m_centrale);
    const core::Params item{{QStringLiteral("ID"), id}};
    db().exec(QStringLiteral("INSERT INTO venduti (idArticolo, idMagazzino, quantita) VALUES (:ID, 7, 2)"),
              item);
    db().exec(
        QStringLiteral("INSERT INTO seriali (idArticolo, Seriale, idMagazzino) VALUES (:ID, 'IMEI1', 7)"),
        item);

    m_items.remove(id);

    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM articoli WHERE ID = :ID"), item), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM giacenze WHERE idarticolo = :ID"), item), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM venduti WHERE idArticolo = :ID"), item), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM seriali WHERE idArticolo = :ID"), item), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM giacenze WHERE idarticolo = :ID"),
                    {{QStringLiteral("ID"), other}}),
              1);
}

} // namespace
