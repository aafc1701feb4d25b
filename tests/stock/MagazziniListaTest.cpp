#include "stock/MagazziniLista.h"

#include "core/ConnectionIni.h"
#include "core/Db.h"
#include "core/Paths.h"
#include "core/Session.h"
#include "tests/stock/StockSuite.h"
#include "tests/support/Login.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/RecordingNavigator.h"
#include "tests/support/ScriptedDialogs.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

const QString Question = QStringLiteral("Sei sicuro di voler eliminare il magazzino selezionato?");

class MagazziniListaTest : public ct::StockSuite<MagazziniListaTest>
{
protected:
    void SetUp() override
    {
        emptyTables({"magazzini", "giacenze", "disptc", "utenti", "venduti"});
        logIn(0, core::Privilege::FullAccess);
    }

    void logIn(int warehouse, core::Privilege privilege)
    {
        ct::logIn(m_session, {privilege}, {warehouse, QStringLiteral("X")},
                  {1, QStringLiteral("Mario"), {}, {}, {}});
    }

    // A warehouse holding two items and a size grid.
    int addWarehouse(const QString& name)
    {
        const core::Warehouse warehouse = StockSuite::addWarehouse(name);
        for (int item : {1, 2})
            addStock(item, warehouse, 5);
        insert("disptc",
               {{"idarticolo", 1}, {"idmagazzino", warehouse.id}, {"Magazzino", name}, {"Colore", "ROSSO"}});
        return warehouse.id;
    }

    // Column names are case-blind: one key for every table.
    static int count(const char* table, int warehouse)
    {
        return StockSuite::count(
            QStringLiteral("SELECT COUNT(*) FROM `%1` WHERE idmagazzino = :M").arg(QLatin1String(table)),
            {{"M", warehouse}});
    }

    QStringList names()
    {
        QStringList result;
        for (const core::Row& row : m_list.rows())
            result << row.value("Descrizione").toString();
        return result;
    }

    QTemporaryDir m_dir;
    core::Paths m_paths{m_dir.path(), m_dir.path()};
    core::Session m_session;
    ct::ScriptedDialogs m_dialogs;
    ct::RecordingNavigator m_navigator;
    stock::MagazziniLista m_list{company().db(), m_session, m_paths, m_dialogs, m_navigator};
};

TEST_F(MagazziniListaTest, ListsByNameAndRereadsAfterTheCard)
{
    addWarehouse(QStringLiteral("NEGOZIO"));
    const int depot = addWarehouse(QStringLiteral("DEPOSITO"));
    m_list.refresh();
    EXPECT_EQ(names(), (QStringList{QStringLiteral("DEPOSITO"), QStringLiteral("NEGOZIO")}));

    m_navigator.whenOpened(
        QStringLiteral("TMagazzinoAnagrafica"), [&](const core::NavigationRequest& request) {
            db().exec(
                QStringLiteral("UPDATE magazzini SET Descrizione = 'AAA DEPOSITO' WHERE idMagazzino = :M"),
                {{QStringLiteral("M"), request.key}});
            return core::NavigationResult{true, {}, {}};
        });
    m_list.modify(depot);
    EXPECT_EQ(names().first(), QStringLiteral("AAA DEPOSITO"));
}

TEST_F(MagazziniListaTest, DeleteAsksAndNoKeepsTheWarehouseYesRemovesItWithItsStock)
{
    const int shop = addWarehouse(QStringLiteral("NEGOZIO"));
    const int depot = addWarehouse(QStringLiteral("DEPOSITO"));
    m_list.refresh();

    m_dialogs.answerConfirm(false);
    EXPECT_FALSE(m_list.remove(depot));
    EXPECT_EQ(m_dialogs.texts(ct::DialogEvent::Kind::Confirm), QStringList{Question});
    EXPECT_EQ(count("giacenze", depot), 2);

    m_dialogs.answerConfirm(true);
    EXPECT_TRUE(m_list.remove(depot));
    EXPECT_EQ(count("magazzini", depot), 0);
    EXPECT_EQ(count("giacenze", depot), 0);
    EXPECT_EQ(count("disptc", depot), 0);
    // The other warehouse keeps all it had.
    EXPECT_EQ(count("giacenze", shop), 2);
    EXPECT_EQ(count("disptc", shop), 1);
}

TEST_F(MagazziniListaTest, AWarehouseInUseIsRefusedWithTheReasonAndNotAsked)
{
    const int current = addWarehouse(QStringLiteral("NEGOZIO"));
    const int ofOperator = addWarehouse(QStringLiteral("DEPOSITO"));
    const int inIni = addWarehouse(QStringLiteral("ESTERNO"));
    db().exec(
        QStringLiteral("INSERT INTO utenti (nome, username, magazzino) VALUES ('Anna', 'anna', 'DEPOSITO')"));
    {
        core::ConnectionIni ini(m_paths.connessioneIni());
        ini.setWarehouse({inIni, QStringLiteral("ESTERNO"), {}});
        ini.save();
    }
    logIn(current, core::Privilege::FullAccess);

    const struct
    {
        int warehouse;
        const char* message;
    } cases[] = {
        {current, "Impossibile eliminare il magazzino: è il magazzino corrente di questa postazione"},
        {inIni, "Impossibile eliminare il magazzino: è il magazzino corrente di questa postazione"},
        {ofOperator, "Impossibile eliminare il magazzino: è il magazzino di lavoro di almeno un operatore"},
    };
    for (const auto& test : cases) {
        m_dialogs.clear();
        EXPECT_FALSE(m_list.remove(test.warehouse));
        EXPECT_EQ(m_dialogs.texts(ct::DialogEvent::Kind::Warning),
                  QStringList{QString::fromUtf8(test.message)});
        EXPECT_TRUE(m_dialogs.texts(ct::DialogEvent::Kind::Confirm).isEmpty());
        EXPECT_EQ(count("giacenze", test.warehouse), 2);
    }
}

TEST_F(MagazziniListaTest, DeletingNeedsTheRightAndAChosenWarehouseThatIsStillThere)
{
    const int depot = addWarehouse(QStringLiteral("DEPOSITO"));
    logIn(0, core::Privilege::Magazzino);
    EXPECT_FALSE(m_list.remove(depot));
    EXPECT_EQ(m_dialogs.messages(),
              QStringList{QStringLiteral("Non possiedi i privilegi per eseguire questa operazione")});
    EXPECT_EQ(count("magazzini", depot), 1);

    logIn(0, core::Privilege::Cancellazione);
    m_dialogs.clear();
    EXPECT_FALSE(m_list.remove(depot + 100));
    EXPECT_EQ(m_dialogs.messages(), QStringList{QStringLiteral("Il magazzino selezionato non esiste più")});
}

} // namespace
