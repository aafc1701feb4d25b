#include "stock/sizes/LoadGrids.h"
#include "stock/sizes/LoadSizeGrid.h"

#include "tests/sizes/SizesFixture.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/Workstation.h"

#include <gtest/gtest.h>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

const QString kMine = QStringLiteral("aaaaaaaa-0000-0000-0000-000000000001");
const QString kTheirs = QStringLiteral("bbbbbbbb-0000-0000-0000-000000000002");

class LoadGridsTest : public ct::SizesSuite<LoadGridsTest>
{
protected:
    // One load row dialog: a colour with quantities by size (1-based), written as the owner's work rows.
    void enter(core::Db& on, const QString& owner, int loadId, const QString& colour,
               std::initializer_list<std::pair<int, int>> quantities, int item = 0)
    {
        ct::ScriptedDialogs dialogs;
        stock::LoadSizeGrid grid(on, dialogs, item ? item : m_item);
        ASSERT_TRUE(grid.addColour(colour));
        for (const auto& [size, quantity] : quantities)
            grid.setQuantity(0, size, quantity);
        core::Transaction row(on);
        grid.writeWorkRows(on, owner, loadId);
        row.commit();
    }

    void post(core::Db& on, const QString& owner, int loadId, int warehouse = 1)
    {
        stock::LoadGrids::post(on, owner, loadId, warehouse, QStringLiteral("MAGAZZINO %1").arg(warehouse));
    }

    QStringList loaded()
    {
        return rows(QStringLiteral(
            "SELECT c.idcarico, c.colore, c.taglia, c.quantita, c.bar_etichetta = d.BAR3 OR c.bar_etichetta "
            "= d.BAR5 FROM caricotcdoc c LEFT JOIN disptc d ON d.idarticolo = c.idarticolo AND d.Colore = "
            "c.colore ORDER BY c.id"));
    }
};

TEST_F(LoadGridsTest, ANewColourGetsThirtyCellBarcodesAndAnExistingOneAddsToItsCells)
{
    enter(db(), kMine, 10, QStringLiteral("ROSSO"), {{5, 1}});
    post(db(), kMine, 10);

    EXPECT_EQ(grid(), QStringList{QStringLiteral("ROSSO|1|0|0|0|0|1")});
    const core::Row row = db().query(QStringLiteral("SELECT * FROM disptc")).first();
    EXPECT_EQ(row["BAR1"].toString(), QStringLiteral("6401002001004")) << "the first cell barcode";
    EXPECT_EQ(row["BAR30"].toString().left(12), QStringLiteral("640100200129"));
    EXPECT_EQ(row["Magazzino"].toString(), QStringLiteral("MAGAZZINO 1"));
    EXPECT_EQ(counter(), QStringLiteral("640100200129"));
    EXPECT_EQ(loaded(), QStringList{QStringLiteral("10|ROSSO|XXL|1|1")});

    // 2 of size 3 in red onto the red row: TG3 rises by 2, one more caricotcdoc row, no new barcode.
    enter(db(), kMine, 11, QStringLiteral("ROSSO"), {{3, 2}});
    post(db(), kMine, 11);
    EXPECT_EQ(grid(), QStringList{QStringLiteral("ROSSO|1|0|0|2|0|1")});
    EXPECT_EQ(counter(), QStringLiteral("640100200129"));
    EXPECT_EQ(loaded(), (QStringList{QStringLiteral("10|ROSSO|XXL|1|1"), QStringLiteral("11|ROSSO|L|2|1")}));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM caricotc")), 0);
}

TEST_F(LoadGridsTest, TheGridGoesToTheLoadsWarehouseWithBarcodesOfItsOwn)
{
    enter(db(), kMine, 10, QStringLiteral("ROSSO"), {{1, 4}});
    post(db(), kMine, 10, 1);
    enter(db(), kMine, 12, QStringLiteral("ROSSO"), {{1, 3}});
    post(db(), kMine, 12, 2);

    EXPECT_EQ(grid(),
              (QStringList{QStringLiteral("ROSSO|1|4|0|0|0|0"), QStringLiteral("ROSSO|2|3|0|0|0|0")}));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(DISTINCT BAR1) FROM disptc")), 2);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT Magazzino FROM disptc WHERE idmagazzino = 2")).toString(),
              QStringLiteral("MAGAZZINO 2"));
}

TEST_F(LoadGridsTest, TwoWorkstationsEnteringGridsAtOnceEachPostOnlyTheirOwn)
{
    const auto other = company().newConnection();
    enter(db(), kMine, 10, QStringLiteral("ROSSO"), {{1, 1}});
    enter(*other, kTheirs, 20, QStringLiteral("BLU"), {{2, 5}});

    post(db(), kMine, 10);
    EXPECT_EQ(grid(), QStringList{QStringLiteral("ROSSO|1|1|0|0|0|0")});
    EXPECT_EQ(
        count(QStringLiteral("SELECT COUNT(*) FROM caricotc WHERE proprietario = :P"), {{"P", kTheirs}}), 1)
        << "the other workstation's grid waits for its own save";

    post(*other, kTheirs, 20);
    EXPECT_EQ(grid(), (QStringList{QStringLiteral("ROSSO|1|1|0|0|0|0"), QStringLiteral("BLU|1|0|5|0|0|0")}));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM caricotcdoc WHERE idcarico = 20")), 1);
}

TEST_F(LoadGridsTest, ADiscardedGridIsNotPostedByTheNextSave)
{
    const int other = addItem(QStringLiteral("FELPA"), QStringLiteral("ADULTO"));
    enter(db(), kMine, 10, QStringLiteral("NERO"), {{2, 1}});
    enter(db(), kMine, 10, QStringLiteral("BLU"), {{2, 1}}, other);
    stock::LoadGrids::discard(db(), kMine, other); // the row of the other item removed
    post(db(), kMine, 10);
    EXPECT_EQ(grid(), QStringList{QStringLiteral("NERO|1|0|1|0|0|0")});

    enter(db(), kMine, 11, QStringLiteral("ROSSO"), {{2, 1}});
    stock::LoadGrids::discard(db(), kMine); // the load cancelled
    enter(db(), kMine, 12, QStringLiteral("BLU"), {{4, 2}});
    post(db(), kMine, 12);
    EXPECT_EQ(grid(), (QStringList{QStringLiteral("NERO|1|0|1|0|0|0"), QStringLiteral("BLU|1|0|0|0|2|0")}));
}

TEST_F(LoadGridsTest, UndoLowersWhatTheLoadBroughtAndOnlyThat)
{
    const int other = addItem(QStringLiteral("FELPA"), QStringLiteral("ADULTO"));
    enter(db(), kMine, 10, QStringLiteral("ROSSO"), {{3, 5}});
    post(db(), kMine, 10);
    enter(db(), kMine, 11, QStringLiteral("ROSSO"), {{3, 2}, {4, 1}});
    enter(db(), kMine, 11, QStringLiteral("BLU"), {{1, 1}}, other);
    post(db(), kMine, 11);

    {
        const ct::FailingWrite fault(db(), ct::FailingWrite::On::Delete, QStringLiteral("caricotcdoc"));
        EXPECT_THROW(stock::LoadGrids::undo(db(), 11), core::DbError);
    }
    EXPECT_EQ(grid(), (QStringList{QStringLiteral("ROSSO|1|0|0|7|1|0"), QStringLiteral("BLU|1|1|0|0|0|0")}))
        << "a failed undo lowers nothing";

    stock::LoadGrids::undo(db(), 11, other); // one item of the load removed
    EXPECT_EQ(grid(), (QStringList{QStringLiteral("ROSSO|1|0|0|7|1|0"), QStringLiteral("BLU|1|0|0|0|0|0")}));
    stock::LoadGrids::undo(db(), 11); // the load deleted
    EXPECT_EQ(grid(), (QStringList{QStringLiteral("ROSSO|1|0|0|5|0|0"), QStringLiteral("BLU|1|0|0|0|0|0")}));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM caricotcdoc WHERE idcarico = 11")), 0);
    stock::LoadGrids::undo(db(), 11);
    EXPECT_EQ(grid().first(), QStringLiteral("ROSSO|1|0|0|5|0|0")) << "a second undo takes nothing more";
}

TEST_F(LoadGridsTest, AFailingLastWriteOfAPostLeavesNothing)
{
    enter(db(), kMine, 10, QStringLiteral("ROSSO"), {{1, 1}});
    {
        const ct::FailingWrite fault(db(), ct::FailingWrite::On::Delete, QStringLiteral("caricotc"));
        EXPECT_THROW(post(db(), kMine, 10), core::DbError);
    }

    EXPECT_EQ(grid(), QStringList());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM caricotcdoc")), 0);
    EXPECT_EQ(counter(), QString()) << "no cell barcode used up";
    post(db(), kMine, 10);
    EXPECT_EQ(grid(), QStringList{QStringLiteral("ROSSO|1|1|0|0|0|0")})
        << "the work rows were kept for a retry";
}

TEST_F(LoadGridsTest, TwoWorkstationsPostingTheSameNewColourMakeOneRowWithDistinctBarcodes)
{
    const auto theirs = company().newConnection();
    const auto mine = company().newConnection();
    enter(*mine, kMine, 10, QStringLiteral("ROSSO"), {{1, 1}});
    enter(*theirs, kTheirs, 20, QStringLiteral("ROSSO"), {{1, 2}});
    ct::Workstation one(*mine);
    ct::Workstation two(*theirs);
    {
        // The first workstation is held as it inserts the new grid row.
        ct::InsertGate gate(db(), QStringLiteral("disptc"));
        one.start([&](core::Db& on) { post(on, kMine, 10); });
        EXPECT_TRUE(one.waitsAtNamedLock(db()));
        two.start([&](core::Db& on) { post(on, kTheirs, 20); });
        EXPECT_TRUE(two.waitsAtNamedLock(db()));
    }
    one.finish();
    two.finish();

    EXPECT_EQ(grid(), QStringList{QStringLiteral("ROSSO|1|3|0|0|0|0")});
    EXPECT_EQ(counter(), QStringLiteral("640100200129"));
}

TEST_F(LoadGridsTest, TwoWorkstationsNeverDrawTheSameCellBarcode)
{
    const auto theirs = company().newConnection();
    enter(*theirs, kTheirs, 20, QStringLiteral("BLU"), {{1, 1}});
    const int other = addItem(QStringLiteral("FELPA"), QStringLiteral("ADULTO"));
    enter(db(), kMine, 10, QStringLiteral("ROSSO"), {{1, 1}}, other);
    // This workstation has drawn its barcodes and not yet committed.
    core::Transaction first(db());
    post(db(), kMine, 10);
    ct::Workstation two(*theirs);
    two.start([&](core::Db& on) { post(on, kTheirs, 20); });
    EXPECT_TRUE(two.waitsAtTable(*company().newConnection(), QStringLiteral("contatori")));
    first.commit();
    two.finish();

    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(DISTINCT BAR1) FROM disptc")), 2);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT BAR1 FROM disptc WHERE Colore = 'BLU'")).toString(),
              QStringLiteral("6401002001301"));
    EXPECT_EQ(counter(), QStringLiteral("640100200159"));
}

TEST_F(LoadGridsTest, TheSizePageRefusesWhatCannotBeLoaded)
{
    ct::ScriptedDialogs dialogs;
    stock::LoadSizeGrid grid(db(), dialogs, m_item);
    EXPECT_TRUE(grid.addColour(QStringLiteral("rosso")));
    EXPECT_FALSE(grid.addColour(QStringLiteral("ROSSO")));
    grid.addAllColours();
    EXPECT_EQ(grid.rows().size(), 3u);
    grid.setQuantity(0, 2, 3);
    grid.setQuantity(0, 2, -1);
    grid.setQuantity(1, 6, 1);
    grid.setQuantity(2, 5, 4);
    EXPECT_EQ(grid.totalQuantity(), 7);
    EXPECT_EQ(dialogs.messages(),
              (QStringList{QStringLiteral("Il colore ROSSO è già presente nella griglia"),
                           QStringLiteral("La quantità non può essere negativa"),
                           QStringLiteral("Taglia non prevista dal gruppo taglie dell'articolo")}));
    grid.removeRow(2);
    EXPECT_EQ(grid.totalQuantity(), 3);

    db().exec(QStringLiteral("UPDATE articoli SET GruppoTaglia = '' WHERE ID = :ID"), {{"ID", m_item}});
    try {
        stock::LoadSizeGrid none(db(), dialogs, m_item);
        FAIL();
    } catch (const core::Error& e) {
        EXPECT_EQ(
            e.message(),
            QStringLiteral(
                "L'articolo non ha un gruppo taglie con delle taglie: impostarlo nella scheda articolo"));
    }
}

} // namespace
