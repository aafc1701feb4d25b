#include "stock/serials/LoadSerialCapture.h"
#include "stock/serials/LoadSerials.h"
#include "stock/serials/LotNumbering.h"
#include "stock/serials/Lotti.h"

#include "core/Db.h"
#include "core/Error.h"
#include "tests/serials/SerialTestData.h"
#include "tests/support/FailingWrite.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/Workstation.h"

#include <gtest/gtest.h>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

const QString Duplicate =
    QStringLiteral("Attenzione! Il Seriale inserito risulta già presente nell'archivio");

class LoadSerialCaptureTest : public ct::CompanySuite<LoadSerialCaptureTest>
{
protected:
    void SetUp() override
    {
        emptyTables({"articoli", "seriali", "lotti", "storicoseriali", "fornitori", "carichi"});
        db().exec(QStringLiteral("INSERT INTO fornitori (RagSoc) VALUES ('TELEFONIA SPA')"));
        m_supplier = int(db().lastInsertId());
        db().exec(QStringLiteral("INSERT INTO carichi (NumeroCarico) VALUES (12)"));
        m_load = int(db().lastInsertId());
        m_phone = ct::addSerialItem(db(), QStringLiteral("TEL"), QStringLiteral("Telefono"));
        // Longer than `seriali`.`Descrizione` holds.
        m_tablet = ct::addSerialItem(db(), QStringLiteral("TAB"), QStringLiteral("Tablet ").repeated(10));
    }

    stock::LoadSerialCapture capture(core::Db& on, core::Dialogs& dialogs, const stock::SerialItem& item)
    {
        return stock::LoadSerialCapture(on, dialogs, m_load, m_supplier, item, ct::kSerialActor);
    }

    int m_supplier = 0;
    int m_load = 0;
    stock::SerialItem m_phone;
    stock::SerialItem m_tablet;
    ct::ScriptedDialogs m_dialogs;
};

TEST_F(LoadSerialCaptureTest, ASerialInStockIsRefusedForAnyItemAndLetterCase)
{
    stock::LoadSerialCapture tablets = capture(db(), m_dialogs, m_tablet);
    ASSERT_TRUE(tablets.add(QStringLiteral("imei-001"), stock::SerialEntry::Button));

    stock::LoadSerialCapture phones = capture(db(), m_dialogs, m_phone);
    EXPECT_FALSE(phones.add(QStringLiteral("IMEI-001"), stock::SerialEntry::Enter));
    EXPECT_FALSE(phones.add(QStringLiteral(" "), stock::SerialEntry::Button));
    EXPECT_FALSE(phones.add(QString(), stock::SerialEntry::Enter));
    EXPECT_EQ(
        m_dialogs.messages(),
        (QStringList{Duplicate,
                     QStringLiteral("Attenzione! Inserire nella casella di testo un seriale da caricare."),
                     QStringLiteral("Attenzione! Inserire il Numero Seriale da Caricare in Magazzino")}));
    EXPECT_EQ(phones.count(), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM seriali")), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT LENGTH(Descrizione) FROM seriali")), 50);
    const core::Row loaded = db().query(QStringLiteral("SELECT * FROM storicoseriali")).first();
    EXPECT_EQ(loaded["Evento"].toString(), QStringLiteral("Caricato"));
    EXPECT_EQ(loaded["NumeroDocumento"].toString(), QStringLiteral("12"));
    EXPECT_EQ(loaded["Soggetto"].toString(), QStringLiteral("TELEFONIA SPA"));
}

TEST_F(LoadSerialCaptureTest, OnADatabaseWithoutTheUniqueIndexTheLockKeepsTwoWorkstationsApart)
{
    // Old data held duplicates, so the upgrade left a plain index.
    db().execDirect(
        QStringLiteral("ALTER TABLE seriali DROP INDEX ux_Seriale, ADD INDEX ix_Seriale (Seriale)"));
    struct RestoreIndex
    {
        core::Db& db;
        ~RestoreIndex()
        {
            db.execDirect(QStringLiteral("DELETE FROM seriali")); // duplicates, should the lock have failed
            db.execDirect(QStringLiteral(
                "ALTER TABLE seriali DROP INDEX ix_Seriale, ADD UNIQUE INDEX ux_Seriale (Seriale)"));
        }
    } restore{db()};

    // The other workstation has checked and written the serial, not yet committed.
    ct::HalfDoneCommand other(
        db(), QStringLiteral("seriali.Seriale"),
        QStringLiteral("INSERT INTO seriali (idArticolo, Seriale) VALUES (1, '3550001')"));
    ct::Workstation second(company().newConnection());
    bool added = true;
    second.start([&](core::Db& own) {
        added = capture(own, m_dialogs, m_phone).add(QStringLiteral("3550001"), stock::SerialEntry::Button);
    });
    EXPECT_TRUE(second.waitsAtNamedLock(*company().newConnection()));
    other.finish();
    second.finish();

    EXPECT_FALSE(added);
    EXPECT_EQ(m_dialogs.messages(), QStringList{Duplicate});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM seriali")), 1);
}

TEST_F(LoadSerialCaptureTest, LotSerialsCountOnKeepingLettersAndPadding)
{
    EXPECT_EQ(stock::lotSerials(QStringLiteral("AB0098"), 3),
              (QStringList{QStringLiteral("AB0098"), QStringLiteral("AB0099"), QStringLiteral("AB0100")}));
    EXPECT_EQ(stock::lotSerials(QStringLiteral("7"), 1), QStringList{QStringLiteral("7")});
    const struct
    {
        const char* first;
        int count;
        const char* message;
    } refused[] = {
        {"99", 3, "Attenzione! Il lotto supera le 2 cifre del primo seriale: l'ultimo seriale sarebbe 101."},
        {"LOTTO", 2,
         "Attenzione! Il primo seriale del lotto deve terminare con delle cifre da cui numerare i seriali "
         "successivi."},
        {"A1", 0, "Attenzione! Il numero di seriali del lotto deve essere almeno 1."},
    };
    for (const auto& c : refused) {
        try {
            stock::lotSerials(QString::fromUtf8(c.first), c.count);
            ADD_FAILURE() << c.first;
        } catch (const core::Error& error) {
            EXPECT_EQ(error.message(), QString::fromUtf8(c.message));
            EXPECT_EQ(error.kind(), core::Error::Kind::Refusal);
        }
    }
}

TEST_F(LoadSerialCaptureTest, ALotIsWrittenWholeOrNotAtAll)
{
    stock::LoadSerialCapture phones = capture(db(), m_dialogs, m_phone);
    ASSERT_TRUE(phones.add(QStringLiteral("lt0002"), stock::SerialEntry::Button));
    EXPECT_FALSE(phones.addLot(QStringLiteral("LOT-A"), QStringLiteral("LT0001"), 3));
    EXPECT_EQ(m_dialogs.lastText(),
              QStringLiteral("Attenzione! I seguenti seriali del lotto risultano già presenti "
                             "nell'archivio: lt0002. Il lotto non è stato caricato."));

    // The server fails the lot's last write (its history).
    {
        const ct::FailingWrite fault(db(), ct::FailingWrite::On::Insert, QStringLiteral("storicoseriali"));
        EXPECT_THROW(phones.addLot(QStringLiteral("LOT-A"), QStringLiteral("LT0003"), 3), core::DbError);
    }
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM seriali")), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM lotti")), 0);
    EXPECT_EQ(phones.serials(), QStringList{QStringLiteral("lt0002")});

    ASSERT_TRUE(phones.addLot(QStringLiteral("LOT-A"), QStringLiteral("LT0008"), 3));
    EXPECT_EQ(phones.count(), 4);
    const core::Row lot = db().query(QStringLiteral("SELECT * FROM lotti")).first();
    EXPECT_EQ(lot["Dal"].toString(), QStringLiteral("LT0008"));
    EXPECT_EQ(lot["Al"].toString(), QStringLiteral("LT0010"));
    EXPECT_EQ(lot["idcarico"].toInt(), m_load);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM seriali s JOIN lotti l ON l.idLotto = s.idLotto "
                                   "AND l.Barcode = s.BarcodeLotto")),
              3);
    stock::Lotti lots(db(), m_dialogs);
    ASSERT_TRUE(lots.search(QStringLiteral(" LOT-A ")));
    EXPECT_EQ(lots.serials().size(), 3) << "the serials of the lot under the cursor";
}

TEST_F(LoadSerialCaptureTest, DiscardGivesBackExactlyTheDialogsSerialsAndLots)
{
    stock::LoadSerialCapture kept = capture(db(), m_dialogs, m_phone);
    ASSERT_TRUE(kept.add(QStringLiteral("K1"), stock::SerialEntry::Button));
    stock::LoadSerialCapture cancelled = capture(db(), m_dialogs, m_phone);
    ASSERT_TRUE(cancelled.add(QStringLiteral("C1"), stock::SerialEntry::Button));
    ASSERT_TRUE(cancelled.add(QStringLiteral("C2"), stock::SerialEntry::Button));
    ASSERT_TRUE(cancelled.remove(QStringLiteral("c1")));
    ASSERT_TRUE(cancelled.addLot(QStringLiteral("LOT-C"), QStringLiteral("C10"), 2));
    EXPECT_EQ(cancelled.itemSerialsInWarehouse(),
              (QStringList{QStringLiteral("K1"), QStringLiteral("C2"), QStringLiteral("C10"),
                           QStringLiteral("C11")}));

    cancelled.discard();

    EXPECT_EQ(cancelled.count(), 0);
    EXPECT_EQ(kept.itemSerialsInWarehouse(), QStringList{QStringLiteral("K1")});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM lotti")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM storicoseriali WHERE Evento = 'Eliminato'")), 4);
}

TEST_F(LoadSerialCaptureTest, RemovingARowBlocksItsSerialsAndDeletingTheLoadRemovesThem)
{
    stock::LoadSerialCapture phones = capture(db(), m_dialogs, m_phone);
    ASSERT_TRUE(phones.add(QStringLiteral("P1"), stock::SerialEntry::Button));
    ASSERT_TRUE(phones.addLot(QStringLiteral("LOT-P"), QStringLiteral("P10"), 2));
    stock::LoadSerialCapture tablets = capture(db(), m_dialogs, m_tablet);
    ASSERT_TRUE(tablets.add(QStringLiteral("T1"), stock::SerialEntry::Button));

    core::Transaction loadCommand(db());
    stock::LoadSerials::blockRow(db(), m_load, m_phone.itemId, ct::kSerialActor);
    loadCommand.commit();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM seriali WHERE Disponibile = 0")), 3);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM storicoseriali WHERE Evento = 'Bloccato'")), 3);

    stock::LoadSerials::deleteLoad(db(), m_load, ct::kSerialActor);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM seriali")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM lotti")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM storicoseriali WHERE Evento = 'Eliminato'")), 4);
}

} // namespace
