#include "pos/Sale.h"

#include "core/Db.h"
#include "core/Error.h"
#include "core/Session.h"
#include "tests/pos/SaleFixture.h"
#include "tests/support/FailingWrite.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/Workstation.h"

#include <gtest/gtest.h>

using namespace carvendo;
namespace ct = carvendo::testing;
using core::Money;
using ct::euros;

namespace {

// The sale at a till: rows by barcode, serial and size/colour cell, edits, totals, suspension and
// discard, with a second till on a connection of its own.
class SaleTest : public ct::SaleFixture<SaleTest>
{
};

TEST_F(SaleTest, RepeatedScansMergeAndARowEditTakesItsDiscountIntoBothSubtotals)
{
    const int item = addItem(QStringLiteral("800100"), "10", "8.1967");
    pos::Sale sale(db(), m_dialogs, m_session);
    sale.open();
    EXPECT_FALSE(sale.addByBarcode(QStringLiteral("0")));
    EXPECT_FALSE(sale.addByBarcode(QStringLiteral("NESSUNO")));
    EXPECT_EQ(m_dialogs.messages(), QStringList{QStringLiteral("Inserire la quantita!")});
    EXPECT_EQ(sale.totals().totaleConto, Money());

    for (int scan = 0; scan < 3; ++scan)
        ASSERT_TRUE(sale.addByBarcode(QStringLiteral("800100")));
    ASSERT_EQ(sale.rows().size(), 1);
    EXPECT_EQ(sale.rows().first().quantity, 3);
    EXPECT_EQ(sale.rows().first().subPublic, euros("30"));

    // 10,00 with 15% at quantity 2: 17,00 with VAT; the net subtotal too is net of the discount
    // (8,1967 - 1,2295) x 2, kept at four decimals.
    sale.editRow({item, {}}, 2, 15, euros("10"));
    const core::Row row =
        db().query(QStringLiteral("SELECT SubPubblico, SubTotale, QFISICA, Sconto FROM dettbanco")).first();
    EXPECT_EQ(row["SubPubblico"].toMoney(), euros("17"));
    EXPECT_EQ(row["SubTotale"].toMoney(), euros("13.9344"));
    EXPECT_EQ(row["QFISICA"].toInt(), 2);
    const core::Row header =
        db().query(QStringLiteral("SELECT imponibile, TotaleConto, totaledocumento, DaPagare, ivatotale, "
                                  "Totalearticoli FROM banco WHERE id = :ID"),
                   {{QStringLiteral("ID"), sale.id()}})
            .first();
    EXPECT_EQ(header["imponibile"].toMoney(), euros("13.9344"));
    EXPECT_EQ(header["TotaleConto"].toMoney(), euros("17"));
    EXPECT_EQ(header["totaledocumento"].toMoney(), euros("17"));
    EXPECT_EQ(header["DaPagare"].toMoney(), euros("17"));
    EXPECT_EQ(header["ivatotale"].toMoney(), euros("3.0656"));
    EXPECT_EQ(header["Totalearticoli"].toInt(), 2);

    // A further scan is one more unit at the item's price, without the discount.
    ASSERT_TRUE(sale.addByBarcode(QStringLiteral("800100")));
    EXPECT_EQ(sale.rows().first().discountPercent, 0);
    EXPECT_EQ(sale.rows().first().subPublic, euros("30"));
}

TEST_F(SaleTest, ARowChangedToAnItemOnTheSaleAlreadyMergesIntoItsRow)
{
    const int wrong = addItem(QStringLiteral("800200"), "5", "4.0984");
    const int right = addItem(QStringLiteral("800300"), "12", "9.8361");
    pos::Sale sale(db(), m_dialogs, m_session);
    sale.open();
    ASSERT_TRUE(sale.addByBarcode(QStringLiteral("800200")));
    ASSERT_TRUE(sale.addByBarcode(QStringLiteral("800200")));
    sale.changeRowItem({wrong, {}}, right);
    ASSERT_EQ(sale.rows().size(), 1);
    EXPECT_EQ(sale.rows().first().subPublic, euros("24"));
    EXPECT_EQ(sale.rows().first().subTotal, euros("19.6722"));

    ASSERT_TRUE(sale.addByBarcode(QStringLiteral("800200")));
    sale.changeRowItem({wrong, {}}, right);
    ASSERT_EQ(sale.rows().size(), 1);
    EXPECT_EQ(sale.rows().first().quantity, 3);
    EXPECT_EQ(sale.totals().totaleConto, euros("36"));
}

// The till's operator on the open sale is the keyboard till's test.
TEST_F(SaleTest, ASaleSuspendedByAnotherWorkstationIsNoLongerWritten)
{
    addItem(QStringLiteral("800100"), "10", "8.1967");
    pos::Sale sale(db(), m_dialogs, m_session);
    sale.open();
    const int first = sale.id();

    // Another workstation suspended it meanwhile: this till's commands are refused and write nothing.
    company().newConnection()->exec(QStringLiteral("UPDATE banco SET vendita_sospesa = 1 WHERE id = :ID"),
                                    {{QStringLiteral("ID"), first}});
    expectRefusal([&] { sale.addByBarcode(QStringLiteral("800100")); }, pos::Sale::notOpenMessage());
    EXPECT_EQ(rowsOf(first), 0);
}

TEST_F(SaleTest, ASecondOperatorPackIsRefusedAndNothingIsAdded)
{
    addItem(QStringLiteral("PACK1"), "0", "0", true);
    addItem(QStringLiteral("PACK2"), "0", "0", true);
    pos::Sale sale(db(), m_dialogs, m_session);
    sale.open();
    ASSERT_TRUE(sale.addByBarcode(QStringLiteral("PACK1")));
    EXPECT_FALSE(sale.addByBarcode(QStringLiteral("PACK2")));
    EXPECT_EQ(m_dialogs.messages(),
              QStringList{QStringLiteral("Puoi scaricare solo 1 Vodafone Pack per vendita")});
    EXPECT_EQ(sale.rows().size(), 1);
}

TEST_F(SaleTest, ACellOfThisWarehouseLeavesStockWhenScannedAndComesBackWithItsRow)
{
    const int shirt = addShirt();
    pos::Sale sale(db(), m_dialogs, m_session);
    sale.open();
    ASSERT_TRUE(sale.addByBarcode(QStringLiteral("CELL3")));
    ASSERT_TRUE(sale.addByBarcode(QStringLiteral("CELL3")));
    ASSERT_EQ(sale.rows().size(), 1);
    EXPECT_EQ(sale.rows().first().colour, QStringLiteral("ROSSO"));
    EXPECT_EQ(cells(), (QStringList{QStringLiteral("2:5"), QStringLiteral("1:3")}));

    sale.removeRow({shirt, QStringLiteral("CELL3")});
    EXPECT_EQ(cells(), (QStringList{QStringLiteral("2:5"), QStringLiteral("1:5")}));
    EXPECT_EQ(sale.rows().size(), 0);
    EXPECT_EQ(sale.totals().totaleConto, Money());
}

TEST_F(SaleTest, TwoTillsScanningTheSameSerialMakeOneLinkAndTheSecondKeepsNoRow)
{
    addPhone({QStringLiteral("356000000000001")});
    pos::Sale first(db(), m_dialogs, m_session);
    first.open();
    auto secondConnection = company().newConnection();
    ct::ScriptedDialogs secondDialogs;
    pos::Sale second(*secondConnection, secondDialogs, m_session);
    second.open();

    core::Transaction firstTill(db());
    ASSERT_TRUE(first.addByBarcode(QStringLiteral("356000000000001")));
    ct::Workstation secondTill(*secondConnection);
    secondTill.start([&](core::Db&) { second.addByBarcode(QStringLiteral("356000000000001")); });
    ASSERT_TRUE(secondTill.waitsAtTable(*company().newConnection(), QStringLiteral("DELETE FROM seriali")));
    firstTill.commit();
    expectRefusal([&] { secondTill.finish(); }, QStringLiteral("Attenzione! Seriale non disponibile"));

    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM serialidocumenti WHERE Documento = 'Pos'")), 1);
    EXPECT_EQ(first.rows().size(), 1);
    EXPECT_EQ(second.rows().size(), 0);
}

TEST_F(SaleTest, ARowAddOrRemovalWhoseLastWriteFailsLeavesNothingOfTheCommand)
{
    const stock::SerialItem phone = addPhone({QStringLiteral("IMEI1"), QStringLiteral("IMEI2")});
    pos::Sale sale(db(), m_dialogs, m_session);
    sale.open();
    ASSERT_TRUE(sale.addByBarcode(QStringLiteral("IMEI1")));

    {
        const ct::FailingWrite failingTotals(db(), ct::FailingWrite::On::Update, QStringLiteral("banco"));
        EXPECT_THROW(sale.addByBarcode(QStringLiteral("IMEI2")), core::DbError);
        EXPECT_THROW(sale.removeRow({phone.itemId, {}}), core::DbError);
    }
    ASSERT_EQ(sale.rows().size(), 1);
    EXPECT_EQ(sale.rows().first().quantity, 1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM seriali WHERE Seriale = 'IMEI2'")), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM serialidocumenti WHERE Seriale = 'IMEI1'")), 1);

    sale.removeRow({phone.itemId, {}});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM seriali")), 2);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM serialidocumenti")), 0);
}

TEST_F(SaleTest, ResumingOverAnOpenSaleDiscardsItAndGivesItsSerialsAndCellsBack)
{
    addPhone({QStringLiteral("IMEI9")});
    addShirt();
    addItem(QStringLiteral("800100"), "10", "8.1967");
    pos::Sale sale(db(), m_dialogs, m_session);
    sale.open();
    ASSERT_TRUE(sale.addByBarcode(QStringLiteral("800100")));
    const int suspended = sale.id();
    ASSERT_TRUE(sale.suspend());
    const int discarded = sale.id();
    ASSERT_TRUE(sale.addByBarcode(QStringLiteral("IMEI9")));
    ASSERT_TRUE(sale.addByBarcode(QStringLiteral("CELL3")));

    m_dialogs.answerConfirm(true);
    ASSERT_TRUE(sale.resume(suspended, QStringLiteral("ANNA")));
    EXPECT_EQ(sale.id(), suspended);
    // Whoever is at the till now serves it, set by the same write that resumed it.
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM banco WHERE Operatore = 'ANNA'")), 1);
    EXPECT_EQ(sale.totals().totaleConto, euros("10"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM seriali WHERE Seriale = 'IMEI9'")), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM serialidocumenti")), 0);
    EXPECT_EQ(cells(), (QStringList{QStringLiteral("2:5"), QStringLiteral("1:5")}));
    EXPECT_EQ(headers(discarded), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM dettbanco WHERE vendita_sospesa = 1")), 0);
}

TEST_F(SaleTest, OfTwoWorkstationsResumingTheSameSaleOneGetsItAndTheOtherKeepsItsOwn)
{
    addItem(QStringLiteral("800100"), "10", "8.1967");
    pos::Sale till(db(), m_dialogs, m_session);
    till.open();
    ASSERT_TRUE(till.addByBarcode(QStringLiteral("800100")));
    const int suspended = till.id();
    ASSERT_TRUE(till.suspend());
    const int firstOwn = till.id();

    auto otherConnection = company().newConnection();
    ct::ScriptedDialogs otherDialogs;
    pos::Sale other(*otherConnection, otherDialogs, m_session);
    other.open();
    const int otherOwn = other.id();

    core::Transaction firstResume(db());
    ASSERT_TRUE(till.resume(suspended));
    ct::Workstation otherTill(*otherConnection);
    otherTill.start([&](core::Db&) { other.resume(suspended); });
    ASSERT_TRUE(otherTill.waitsAtTable(*company().newConnection(), QStringLiteral("UPDATE banco")));
    firstResume.commit();
    expectRefusal([&] { otherTill.finish(); },
                  QStringLiteral("La vendita sospesa è già stata ripresa da un'altra postazione"));

    EXPECT_EQ(other.id(), otherOwn);
    EXPECT_EQ(headers(otherOwn), 1);
    EXPECT_EQ(headers(firstOwn), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM banco WHERE vendita_sospesa = 1")), 0);
    // The sale it holds now is no longer open to the other till's commands.
    EXPECT_EQ(till.rows().size(), 1);
}

TEST_F(SaleTest, ARowIsChangedByItsOwnKeyEvenWhenAnOlderRowSellsTheSameItem)
{
    const int item = addItem(QStringLiteral("800200"), "10", "8.1967");
    pos::Sale sale(db(), m_dialogs, m_session);
    sale.open();
    ASSERT_TRUE(sale.addByBarcode(QStringLiteral("800200")));
    // A row of the same item left by an older program on the same sale.
    db().exec(QStringLiteral("INSERT INTO dettbanco (idBanco, idarticolo, descrizione, quantita) "
                             "VALUES (:ID, :ITEM, 'riga precedente', 5)"),
              {{QStringLiteral("ID"), sale.id()}, {QStringLiteral("ITEM"), item}});
    sale.removeRow({item, {}});
    EXPECT_EQ(rowsOf(sale.id()), 1) << "one row removed, not every row of the item";
}

TEST_F(SaleTest, EmptyRowsAreRemovedOnlyFromThisSale)
{
    pos::Sale sale(db(), m_dialogs, m_session);
    sale.open();
    db().exec(QStringLiteral("INSERT INTO dettbanco (idBanco, idarticolo) VALUES (:MINE, 0), (:OTHER, 0)"),
              {{QStringLiteral("MINE"), sale.id()}, {QStringLiteral("OTHER"), sale.id() + 1000}});
    pos::SaleRows(db(), sale.id()).removeEmpty();
    EXPECT_EQ(rowsOf(sale.id()), 0);
    EXPECT_EQ(rowsOf(sale.id() + 1000), 1);
}

} // namespace
