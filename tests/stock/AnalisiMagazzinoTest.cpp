#include "stock/AnalisiMagazzino.h"

#include "core/Db.h"
#include "tests/stock/StockSuite.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <map>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class AnalisiMagazzinoTest : public ct::StockSuite<AnalisiMagazzinoTest>
{
protected:
    void SetUp() override { emptyTables({"venduti", "acquisti", "articoli", "caricotcdoc"}); }

    static void sell(int item, double quantity, const QString& colour = {}, const QString& size = {})
    {
        addMovement("venduti", item, 1, quantity, {{"Colore", colour}, {"Taglia", size}, {"TipoDoc", "Pos"}});
    }

    stock::AnalisiMagazzino analysis()
    {
        return stock::AnalisiMagazzino(company().settings(), m_dialogs, core::runHere);
    }

    ct::ScriptedDialogs m_dialogs;
};

TEST_F(AnalisiMagazzinoTest, SellOutPerItemWithBothSalesAndLoads)
{
    const int loadedAndSold = addItem(QStringLiteral("A - LOADS 10 SALES 4"));
    const int twoWarehouses = addItem(QStringLiteral("B - LOADS 8 SALES 8"));
    const int neverSold = addItem(QStringLiteral("C - NEVER SOLD"));
    const int neverLoaded = addItem(QStringLiteral("D - SOLD NOT LOADED"));
    const int loadedZero = addItem(QStringLiteral("E - LOADS SUM TO 0"));
    addMovement("acquisti", loadedAndSold, 1, 6);
    addMovement("acquisti", loadedAndSold, 2, 4);
    sell(loadedAndSold, 3);
    sell(loadedAndSold, 1);
    addMovement("acquisti", twoWarehouses, 1, 5);
    addMovement("acquisti", twoWarehouses, 2, 3);
    sell(twoWarehouses, 8);
    addMovement("acquisti", neverSold, 1, 12);
    sell(neverLoaded, 2);
    addMovement("acquisti", loadedZero, 1, 2);
    addMovement("acquisti", loadedZero, 1, -2);
    sell(loadedZero, 1);

    stock::AnalisiMagazzino logic = analysis();
    ASSERT_TRUE(logic.compute()) << m_dialogs.lastText().toStdString();
    QStringList sellOut; // item | sold | loaded | sell-out %
    for (const core::Row& row : logic.sellOut())
        sellOut << QStringLiteral("%1|%2|%3|%4")
                       .arg(row.value("idArticolo").toInt())
                       .arg(row.value("VENDUTO").toDouble())
                       .arg(row.value("CARICATO").toDouble())
                       .arg(row.value("SELLOUT").toDouble());
    EXPECT_EQ(sellOut, (QStringList{QStringLiteral("%1|4|10|40").arg(loadedAndSold),
                                    QStringLiteral("%1|8|8|100").arg(twoWarehouses)}));
    QStringList unsold;
    for (const core::Row& row : logic.unsold())
        unsold << row.value("Descrizione").toString();
    EXPECT_EQ(unsold, QStringList{QStringLiteral("C - NEVER SOLD")});

    // A database failure is told, and the figures already shown stay.
    core::ConnectionSettings wrong = company().settings();
    wrong.database = QStringLiteral("no_such_company_db");
    EXPECT_FALSE(stock::AnalisiMagazzino(wrong, m_dialogs, core::runHere).compute());
    EXPECT_TRUE(m_dialogs.lastText().contains(QStringLiteral("no_such_company_db")))
        << m_dialogs.lastText().toStdString();
    EXPECT_EQ(logic.sellOut().size(), 2);
}

TEST_F(AnalisiMagazzinoTest, SellOutBySizeAndColourMatchesSalesWithTheSizeLoads)
{
    const int shirt = addItem(QStringLiteral("MAGLIA"));
    db().exec(QStringLiteral("INSERT INTO caricotcdoc (idarticolo, colore, taglia, quantita) VALUES "
                             "(:A, 'ROSSO', 'M', 10), (:A, 'ROSSO', 'L', 4), (:A, 'BLU', 'M', 5)"),
              {{QStringLiteral("A"), shirt}});
    sell(shirt, 3, QStringLiteral("ROSSO"), QStringLiteral("M"));
    sell(shirt, 1, QStringLiteral("ROSSO"), QStringLiteral("M"));
    sell(shirt, 4, QStringLiteral("ROSSO"), QStringLiteral("L"));
    sell(shirt, 2, QStringLiteral("VERDE"), QStringLiteral("M")); // never loaded in that colour
    sell(shirt, 1);                                               // sold without a size

    stock::AnalisiMagazzino logic = analysis();
    ASSERT_TRUE(logic.compute());
    std::map<std::pair<QString, QString>, double> sellOut;
    for (const core::Row& row : logic.sellOutBySizeAndColour())
        sellOut[{row.value("Colore").toString(), row.value("Taglia").toString()}] =
            row.value("SELLOUT").toDouble();
    const std::map<std::pair<QString, QString>, double> expected{
        {{QStringLiteral("ROSSO"), QStringLiteral("L")}, 100},
        {{QStringLiteral("ROSSO"), QStringLiteral("M")}, 40}};
    EXPECT_EQ(sellOut, expected);
}

} // namespace
