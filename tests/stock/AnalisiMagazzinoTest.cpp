#include "stock/AnalisiMagazzino.h"

#include "core/Db.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

#include <map>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class AnalisiMagazzinoTest : public ct::CompanySuite<AnalisiMagazzinoTest>
{
protected:
    void SetUp() override { emptyTables({"venduti", "acquisti", "articoli", "caricotcdoc"}); }

    int addItem(const QString& description)
    {
        db().exec(QStringLiteral("INSERT INTO articoli (CodArticolo, Descrizione) VALUES (:D, :D)"),
                  {{QStringLiteral("D"), description}});
        return int(db().lastInsertId());
    }

    void sell(int item, double quantity, const QString& colour = {}, const QString& size = {})
    {
        db().exec(QStringLiteral("INSERT INTO venduti (idArticolo, quantita, Colore, Taglia, TipoDoc) "
                                 "VALUES (:A, :Q, :C, :T, 'Pos')"),
                  {{QStringLiteral("A"), item},
                   {QStringLiteral("Q"), quantity},
                   {QStringLiteral("C"), colour},
                   {QStringLiteral("T"), size}});
    }

    void load(int item, double quantity, int warehouse = 1)
    {
        db().exec(
            QStringLiteral("INSERT INTO acquisti (idarticolo, quantita, idMagazzino) VALUES (:A, :Q, :M)"),
            {{QStringLiteral("A"), item}, {QStringLiteral("Q"), quantity}, {QStringLiteral("M"), warehouse}});
    }

    void loadSize(int item, const QString& colour, const QString& size, int quantity)
    {
        db().exec(
            QStringLiteral(
                "INSERT INTO caricotcdoc (idarticolo, colore, taglia, quantita) VALUES (:A, :C, :T, :Q)"),
            {{QStringLiteral("A"), item},
             {QStringLiteral("C"), colour},
             {QStringLiteral("T"), size},
             {QStringLiteral("Q"), quantity}});
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
    load(loadedAndSold, 6);
    load(loadedAndSold, 4, 2);
    sell(loadedAndSold, 3);
    sell(loadedAndSold, 1);
    load(twoWarehouses, 5);
    load(twoWarehouses, 3, 2);
    sell(twoWarehouses, 8);
    load(neverSold, 12);
    sell(neverLoaded, 2);
    load(loadedZero, 2);
    load(loadedZero, -2);
    sell(loadedZero, 1);

    stock::AnalisiMagazzino logic = analysis();
    ASSERT_TRUE(logic.compute()) << m_dialogs.lastText().toStdString();
    const core::Rows& rows = logic.sellOut();
    ASSERT_EQ(rows.size(), 2);
    const struct
    {
        int item;
        double venduto, caricato, sellout;
    } expected[] = {{loadedAndSold, 4, 10, 40}, {twoWarehouses, 8, 8, 100}};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows.value(i, "idArticolo").toInt(), expected[i].item);
        EXPECT_DOUBLE_EQ(rows.value(i, "VENDUTO").toDouble(), expected[i].venduto);
        EXPECT_DOUBLE_EQ(rows.value(i, "CARICATO").toDouble(), expected[i].caricato);
        EXPECT_DOUBLE_EQ(rows.value(i, "SELLOUT").toDouble(), expected[i].sellout);
    }

    QStringList unsold;
    for (const core::Row& row : logic.unsold())
        unsold << row.value("Descrizione").toString();
    EXPECT_EQ(unsold, QStringList{QStringLiteral("C - NEVER SOLD")});
}

TEST_F(AnalisiMagazzinoTest, SellOutBySizeAndColourMatchesSalesWithTheSizeLoads)
{
    const int shirt = addItem(QStringLiteral("MAGLIA"));
    loadSize(shirt, QStringLiteral("ROSSO"), QStringLiteral("M"), 10);
    loadSize(shirt, QStringLiteral("ROSSO"), QStringLiteral("L"), 4);
    loadSize(shirt, QStringLiteral("BLU"), QStringLiteral("M"), 5);
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

TEST_F(AnalisiMagazzinoTest, DatabaseFailureIsToldAndKeepsTheLastFigures)
{
    const int item = addItem(QStringLiteral("A"));
    load(item, 10);
    sell(item, 4);
    stock::AnalisiMagazzino logic = analysis();
    ASSERT_TRUE(logic.compute());

    core::ConnectionSettings wrong = company().settings();
    wrong.database = QStringLiteral("no_such_company_db");
    stock::AnalisiMagazzino broken(wrong, m_dialogs, core::runHere);
    EXPECT_FALSE(broken.compute());
    EXPECT_TRUE(m_dialogs.lastText().contains(QStringLiteral("no_such_company_db")))
        << m_dialogs.lastText().toStdString();

    EXPECT_EQ(logic.sellOut().size(), 1);
}

} // namespace
