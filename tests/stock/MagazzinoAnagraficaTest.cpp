#include "stock/MagazzinoAnagrafica.h"

#include "core/CommandGuard.h"
#include "core/ConnectionIni.h"
#include "core/Db.h"
#include "core/Paths.h"
#include "core/Session.h"
#include "tests/stock/StockSuite.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/Workstation.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace carvendo;
namespace ct = carvendo::testing;
using ct::DialogEvent;

namespace {

class MagazzinoAnagraficaTest : public ct::StockSuite<MagazzinoAnagraficaTest>
{
protected:
    void SetUp() override { emptyTables({"magazzini", "giacenze", "utenti", "articoli", "fatture"}); }

    static void addOperator(const QString& username, const QString& warehouse)
    {
        insert("utenti", {{"nome", username}, {"username", username}, {"magazzino", warehouse}});
    }

    QString text(const QString& sql, int id = 0)
    {
        return db().scalar(sql, id ? core::Params{{QStringLiteral("ID"), id}} : core::Params{}).toString();
    }

    QTemporaryDir m_dir;
    core::Paths m_paths{m_dir.path(), m_dir.path()};
    core::Session m_session;
    ct::ScriptedDialogs m_dialogs;
    stock::MagazzinoAnagrafica m_card{company().db(), m_session, m_paths, m_dialogs};
};

TEST_F(MagazzinoAnagraficaTest, NameIsMandatoryAndNothingIsSaved)
{
    addItem(QStringLiteral("A1"), {{"giacenza", 5.0}});
    m_card.openNew();
    m_card.setValue(QStringLiteral("descrizione"), QStringLiteral("   "));
    EXPECT_FALSE(m_card.save());
    EXPECT_EQ(m_dialogs.messages(), QStringList{QStringLiteral("Inserire il nome del magazzino")});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM magazzini")), 0);
}

TEST_F(MagazzinoAnagraficaTest, NewWarehouseIsRecordedForTheWorkstationAndGetsAStockRowPerItem)
{
    const core::Warehouse otherWarehouse = addWarehouse(QStringLiteral("DEPOSITO"));
    // The item's mirror taken as a whole number, rounded half to even.
    const struct
    {
        const char* code;
        QVariant giacenza;
        double expected;
    } items[] = {{"A1", 2.5, 2}, {"A2", 3.5, 4}, {"A3", QVariant(), 0}, {"A4", -1.6, -2}};
    std::vector<int> ids;
    for (const auto& item : items)
        ids.push_back(addItem(QString::fromUtf8(item.code), {{"giacenza", item.giacenza}}));
    addStock(ids[0], otherWarehouse, 40, 38);

    m_card.openNew(QStringLiteral("MAGAZZINO CENTRALE"));
    m_card.setValue(QStringLiteral("Let"), QStringLiteral("C"));
    ASSERT_TRUE(m_card.save()) << m_dialogs.messages().join(u'|').toStdString();

    const int id = m_card.id();
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const core::Rows stock = db().query(
            QStringLiteral(
                "SELECT giacenza, disponibilita FROM giacenze WHERE idarticolo = :A AND idmagazzino = :M"),
            {{QStringLiteral("A"), ids[i]}, {QStringLiteral("M"), id}});
        ASSERT_EQ(stock.size(), 1) << items[i].code;
        EXPECT_EQ(stock.value(0, "disponibilita").toDouble(), items[i].expected) << items[i].code;
    }
    EXPECT_EQ(
        count(QStringLiteral("SELECT COUNT(*) FROM giacenze WHERE idmagazzino = :M AND giacenza = 40 AND "
                             "disponibilita = 38"),
              {{QStringLiteral("M"), otherWarehouse.id}}),
        1)
        << "other warehouses keep their stock";

    const core::WarehouseSettings recorded = core::ConnectionIni(m_paths.connessioneIni()).warehouse();
    EXPECT_EQ(recorded,
              (core::WarehouseSettings{id, QStringLiteral("MAGAZZINO CENTRALE"), QStringLiteral("C")}));
}

TEST_F(MagazzinoAnagraficaTest, RenameRewritesStockRowsAndOperatorsButNotDocuments)
{
    const int id = insert("magazzini", {{"Descrizione", "NEGOZIO"}, {"Let", "N"}});
    const int item = addItem(QStringLiteral("A1"), {{"giacenza", 4.0}});
    db().exec(
        QStringLiteral("INSERT INTO giacenze (idarticolo, idmagazzino, magazzino, giacenza, disponibilita) "
                       "VALUES (:A, :M, 'NEGOZIO', 4, 4)"),
        {{QStringLiteral("A"), item}, {QStringLiteral("M"), id}});
    addOperator(QStringLiteral("mario"), QStringLiteral("NEGOZIO"));
    addOperator(QStringLiteral("luigi"), QStringLiteral("DEPOSITO"));
    db().exec(
        QStringLiteral("INSERT INTO fatture (NumDoc, idMagazzino, Magazzino) VALUES (1, :M, 'NEGOZIO')"),
        {{QStringLiteral("M"), id}});
    m_session.logIn(core::Operator{1, QStringLiteral("mario"), QStringLiteral("mario"), {}, {}},
                    core::Warehouse{id, QStringLiteral("NEGOZIO")}, core::Privileges());

    ASSERT_TRUE(m_card.open(id));
    m_card.setValue(QStringLiteral("Descrizione"), QStringLiteral("  NEGOZIO ROMA "));
    ASSERT_TRUE(m_card.save()) << m_dialogs.messages().join(u'|').toStdString();

    EXPECT_EQ(text(QStringLiteral("SELECT magazzino FROM giacenze WHERE idmagazzino = :ID"), id),
              QStringLiteral("NEGOZIO ROMA"));
    EXPECT_EQ(text(QStringLiteral("SELECT magazzino FROM utenti WHERE username = 'mario'")),
              QStringLiteral("NEGOZIO ROMA"));
    EXPECT_EQ(text(QStringLiteral("SELECT magazzino FROM utenti WHERE username = 'luigi'")),
              QStringLiteral("DEPOSITO"));
    EXPECT_EQ(text(QStringLiteral("SELECT Magazzino FROM fatture")), QStringLiteral("NEGOZIO"))
        << "documents keep the name they were written with";
    EXPECT_EQ(m_session.warehouse(), (core::Warehouse{id, QStringLiteral("NEGOZIO ROMA")}))
        << "new documents copy the new name";
}

TEST_F(MagazzinoAnagraficaTest, ItsOwnNameIsNoClash)
{
    addWarehouse(QStringLiteral("DEPOSITO"));
    ASSERT_TRUE(m_card.open(addWarehouse(QStringLiteral("NEGOZIO")).id));
    m_card.setValue(QStringLiteral("Descrizione"), QStringLiteral("NEGOZIO"));
    EXPECT_TRUE(m_card.save()) << "its own name is no clash";
}

TEST_F(MagazzinoAnagraficaTest, FailedSaveLeavesNothingHalfWritten)
{
    addItem(QStringLiteral("A1"), {{"giacenza", 1.0}});
    addOperator(QStringLiteral("admin"), QStringLiteral("MAGAZZINO CENTRALE"));
    // The stock rows cannot be written: the warehouse row written before them must go too.
    db().execDirect(QStringLiteral("RENAME TABLE giacenze TO giacenze_altrove"));
    m_card.openNew(QStringLiteral("FILIALE"));
    bool saved = false;
    core::runGuarded(m_dialogs, [&] { saved = m_card.save(); }); // as the card window saves
    db().execDirect(QStringLiteral("RENAME TABLE giacenze_altrove TO giacenze"));

    EXPECT_FALSE(saved);
    ASSERT_EQ(m_dialogs.texts(DialogEvent::Kind::Error).size(), 1);
    EXPECT_TRUE(m_dialogs.texts(DialogEvent::Kind::Error)[0].contains(QStringLiteral("giacenze")))
        << m_dialogs.lastText().toStdString();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM magazzini")), 0);
    EXPECT_EQ(text(QStringLiteral("SELECT magazzino FROM utenti")), QStringLiteral("MAGAZZINO CENTRALE"));
    EXPECT_FALSE(QFile::exists(m_paths.connessioneIni()));

    m_dialogs.clear();
    ASSERT_TRUE(m_card.save()) << "the same card saves once the cause is gone";
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM giacenze")), 1);
}

TEST_F(MagazzinoAnagraficaTest, FirstWarehouseBecomesTheWarehouseOfOperatorsWithoutOne)
{
    // A new company: its seeded operator works in a warehouse that does not exist yet.
    addOperator(QStringLiteral("admin"), QStringLiteral("MAGAZZINO CENTRALE"));
    addOperator(QStringLiteral("cassa"), QString());
    m_card.openNew(QStringLiteral("MAGAZZINO CENTRALE"));
    m_card.setValue(QStringLiteral("Descrizione"), QStringLiteral("SEDE"));
    ASSERT_TRUE(m_card.save());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM utenti WHERE magazzino = 'SEDE'")), 2);

    // Later warehouses leave the operators where they are.
    db().exec(QStringLiteral("UPDATE utenti SET magazzino = 'CHIUSO' WHERE username = 'cassa'"));
    m_card.openNew(QStringLiteral("FILIALE"));
    ASSERT_TRUE(m_card.save());
    EXPECT_EQ(text(QStringLiteral("SELECT magazzino FROM utenti WHERE username = 'cassa'")),
              QStringLiteral("CHIUSO"));
}

TEST_F(MagazzinoAnagraficaTest, TwoWorkstationsSavingTheSameNewNameMakeOneWarehouse)
{
    struct Card
    {
        QTemporaryDir dir;
        core::Paths paths{dir.path(), dir.path()};
        core::Session session;
        ct::ScriptedDialogs dialogs;
        bool saved = false;
    };
    auto save = [](Card& card, const QString& name) {
        return [&card, name](core::Db& own) {
            stock::MagazzinoAnagrafica logic(own, card.session, card.paths, card.dialogs);
            logic.openNew(name);
            card.saved = logic.save();
        };
    };
    Card first;
    Card second;
    ct::Workstation one(company().newConnection());
    ct::Workstation two(company().newConnection());
    {
        // The first workstation is held after its check, as it writes the warehouse.
        ct::InsertGate gate(db(), QStringLiteral("magazzini"));
        one.start(save(first, QStringLiteral("NEGOZIO")));
        EXPECT_TRUE(one.waitsAtNamedLock(db()));
        two.start(save(second, QStringLiteral("negozio")));
        EXPECT_TRUE(two.waitsAtNamedLock(db()));
    }
    one.finish();
    two.finish();

    EXPECT_TRUE(first.saved);
    EXPECT_FALSE(second.saved);
    EXPECT_EQ(second.dialogs.messages(),
              QStringList{QStringLiteral("Esiste già un magazzino con questo nome")});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM magazzini")), 1);
}

TEST_F(MagazzinoAnagraficaTest, LeavingWithUnsavedChangesAsks)
{
    const int id = addWarehouse(QStringLiteral("NEGOZIO")).id;
    ASSERT_TRUE(m_card.open(id));
    EXPECT_TRUE(m_card.mayLeave()) << "nothing changed: no question";
    m_card.setValue(QStringLiteral("Esterno"), true);
    m_dialogs.answerConfirm(false);
    EXPECT_FALSE(m_card.mayLeave());
    EXPECT_EQ(
        m_dialogs.texts(DialogEvent::Kind::Confirm),
        QStringList{QStringLiteral("Eventuali modifiche effettuate non saranno salvate. Vuoi uscire senza "
                                   "salvare ?")});
    EXPECT_FALSE(db().scalar(QStringLiteral("SELECT Esterno FROM magazzini")).toBool());
}

TEST_F(MagazzinoAnagraficaTest, MissingWarehouseAndUnknownColumn)
{
    EXPECT_FALSE(m_card.open(424242));
    EXPECT_EQ(m_dialogs.messages(), QStringList{QStringLiteral("Il magazzino selezionato non esiste più")});

    EXPECT_THROW(m_card.value(QStringLiteral("Descrizione; DROP TABLE magazzini")), std::invalid_argument);
}

} // namespace
