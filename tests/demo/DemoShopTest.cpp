#include "demo/DemoShop.h"

#include "core/Db.h"
#include "core/Paths.h"
#include "tests/support/TestDatabase.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

// Every figure the shop sees of an item agrees: the card's stock, the warehouse's, the history
// the list's realignment rebuilds it from, the available serials and the size/colour cells.
TEST(DemoShopTest, TheDemoShopHoldsTogether)
{
    ct::CompanyDatabase company(QStringLiteral("demo"));
    core::Db& db = company.db();
    QTemporaryDir data;
    demo::DemoShop::fill(db, core::Paths(data.path(), data.path()));

    const core::Rows items = db.query(QStringLiteral(
        "SELECT a.CodArticolo, a.Pubblico, a.giacenza, "
        "a.Seriale, a.TC, g.giacenza AS magazzino, "
        "(SELECT COALESCE(SUM(quantita), 0) FROM acquisti q WHERE q.idarticolo = a.ID) AS caricato, "
        "(SELECT COUNT(*) FROM seriali s WHERE s.idArticolo = a.ID AND s.Disponibile) AS seriali, "
        "(SELECT COALESCE(SUM(TG1 + TG2 + TG3 + TG4 + TG5), 0) FROM disptc d WHERE d.idarticolo = a.ID) AS "
        "celle "
        "FROM articoli a JOIN giacenze g ON g.idarticolo = a.ID ORDER BY a.ID"));
    ASSERT_EQ(items.size(), 8);
    for (const core::Row item : items) {
        const QString code = item[u"CodArticolo"].toString();
        const double stock = item[u"giacenza"].toDouble();
        EXPECT_GT(stock, 0) << qPrintable(code);
        EXPECT_EQ(item[u"magazzino"].toDouble(), stock) << qPrintable(code);
        EXPECT_EQ(item[u"caricato"].toDouble(), stock) << qPrintable(code);
        if (item[u"Seriale"].toBool()) {
            EXPECT_EQ(item[u"seriali"].toInt(), stock) << qPrintable(code);
        }
        if (item[u"TC"].toBool()) {
            EXPECT_EQ(item[u"celle"].toInt(), stock) << qPrintable(code);
        }
    }
    EXPECT_EQ(items[0][u"Pubblico"].toMoney().toItalian(), QStringLiteral("9,90"));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM carichi")).toInt(), 3);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM prima_nota WHERE tipodoc = 'Carico'")).toInt(),
              3);
    EXPECT_EQ(
        db.scalar(QStringLiteral("SELECT COUNT(*) FROM storicoseriali WHERE Evento = 'Caricato'")).toInt(),
        5);
}

} // namespace
