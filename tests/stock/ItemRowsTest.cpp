#include "stock/ItemSerials.h"
#include "stock/ItemSupplierRows.h"

#include "core/Db.h"
#include "core/Privileges.h"
#include "core/Session.h"
#include "tests/support/Login.h"
#include "tests/support/RecordingNavigator.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/Workstation.h"

#include <gtest/gtest.h>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

// The rows of an item's card tabs (serials, suppliers) written by two workstations.
class ItemRowsTest : public ct::CompanySuite<ItemRowsTest>
{
protected:
    void SetUp() override
    {
        emptyTables({"articoli", "seriali", "articoli_fornitori", "fornitori"});
        db().exec(QStringLiteral("INSERT INTO articoli (CodArticolo, Descrizione, giacenza) VALUES ('TEL', "
                                 "'Telefono', 2)"));
        m_item = int(db().lastInsertId());
        ct::logIn(m_session, {core::Privilege::FullAccess}, m_warehouse,
                  {1, QStringLiteral("Admin"), {}, {}, {}});
    }

    int m_item = 0;
    const core::Warehouse m_warehouse{1, QStringLiteral("SEDE")};
    core::Session m_session;
};

TEST_F(ItemRowsTest, DeletingASerialAlreadyGoneSaysSoAndRereadsTheGrid)
{
    db().exec(
        QStringLiteral("INSERT INTO seriali (idArticolo, Seriale, idMagazzino) VALUES (:A, '3500001', 1)"),
        {{QStringLiteral("A"), m_item}});
    const int serial = int(db().lastInsertId());
    ct::ScriptedDialogs dialogs;
    stock::ItemSerials serials(db(), m_session, dialogs);
    serials.setItem(m_item);
    // Sold on another workstation while the card was open.
    company().newConnection()->exec(QStringLiteral("DELETE FROM seriali WHERE ID = :ID"),
                                    {{QStringLiteral("ID"), serial}});

    int rereads = 0;
    QObject::connect(&serials, &stock::ItemSerials::rowsChanged, [&] { ++rereads; });
    dialogs.answerConfirm(true);
    EXPECT_FALSE(serials.remove(serial));
    EXPECT_EQ(dialogs.texts(ct::DialogEvent::Kind::Information),
              QStringList{QStringLiteral("Il seriale selezionato non esiste più")});
    EXPECT_EQ(rereads, 1);
    EXPECT_EQ(count(QStringLiteral("SELECT giacenza FROM articoli")), 2) << "no piece less for nothing";
}

TEST_F(ItemRowsTest, TwoWorkstationsAddingTheSameSupplierMakeOneRow)
{
    db().exec(QStringLiteral("INSERT INTO fornitori (RagSoc) VALUES ('TELEFONIA SPA')"));
    const int supplier = int(db().lastInsertId());
    struct Tab
    {
        ct::ScriptedDialogs dialogs;
        ct::RecordingNavigator navigator;
        bool added = false;
    };
    auto add = [&](Tab& tab) {
        tab.navigator.returnFrom(
            QStringLiteral("TFornitoriPreleva"),
            {true, supplier, {{QStringLiteral("RagSoc"), QStringLiteral("TELEFONIA SPA")}}});
        return [&, this](core::Db& own) {
            stock::ItemSupplierRows rows(own, m_session, tab.dialogs, tab.navigator);
            rows.setItem(m_item);
            tab.added = rows.add({});
        };
    };
    Tab first;
    Tab second;
    ct::Workstation one(company().newConnection());
    ct::Workstation two(company().newConnection());
    {
        // The first workstation is held after its check, as it writes the row.
        ct::InsertGate gate(db(), QStringLiteral("articoli_fornitori"));
        one.start(add(first));
        EXPECT_TRUE(one.waitsAtNamedLock(db()));
        two.start(add(second));
        EXPECT_TRUE(two.waitsAtNamedLock(db()));
    }
    one.finish();
    two.finish();

    EXPECT_TRUE(first.added);
    EXPECT_FALSE(second.added);
    EXPECT_EQ(second.dialogs.messages(),
              QStringList{QStringLiteral("Il fornitore scelto è già tra i fornitori dell'articolo")});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM articoli_fornitori")), 1);
}

} // namespace
