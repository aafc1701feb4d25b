#include "pos/OperatorList.h"

#include "core/Db.h"
#include "core/OperatorPassword.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace carvendo;
namespace ct = carvendo::testing;
using Outcome = pos::OperatorList::Outcome;

namespace {

// The login at the till on operators with hashed passwords, a clear one left by an older database
// and an inactive one. The password check, with the clear one's hashing, is shared with the company
// login and tested there.
class OperatorListTest : public ct::CompanySuite<OperatorListTest>
{
protected:
    void SetUp() override
    {
        emptyTables({"utenti"});
        addOperator(1, "anna", core::OperatorPassword::hash(QStringLiteral("segreta")), true);
        addOperator(2, "bruno", QStringLiteral("1234"), true);
        addOperator(3, "carla", core::OperatorPassword::hash(QStringLiteral("carla")), false);
    }

    static void addOperator(int id, const char* username, const QString& password, bool active)
    {
        db().exec(QStringLiteral("INSERT INTO utenti (id, nome, username, password, Attivo, magazzino) "
                                 "VALUES (:ID, :U, :U, :P, :A, 'Negozio')"),
                  {{"ID", id}, {"U", QString::fromLatin1(username)}, {"P", password}, {"A", active}});
    }
    static QString storedPassword(int id)
    {
        return db()
            .scalar(QStringLiteral("SELECT password FROM utenti WHERE id = :ID"), {{"ID", id}})
            .toString();
    }

    ct::ScriptedDialogs m_dialogs;
};

TEST_F(OperatorListTest, OffersOnlyActiveOperatorsAndRefusesWithTheReason)
{
    pos::OperatorList list(db(), m_dialogs);
    ASSERT_EQ(list.operators().size(), 2) << "carla is not active";
    EXPECT_EQ(list.operators()[0].username, "anna");
    EXPECT_EQ(list.operators()[1].username, "bruno");

    EXPECT_EQ(list.logIn(-1, QStringLiteral("segreta")), Outcome::NoOperator);
    EXPECT_EQ(list.logIn(0, QString()), Outcome::EmptyPassword);
    EXPECT_EQ(list.logIn(0, QStringLiteral("Segreta")), Outcome::WrongPassword) << "letter case counts";
    EXPECT_EQ(list.logIn(1, QStringLiteral("12345")), Outcome::WrongPassword);
    EXPECT_EQ(m_dialogs.messages(),
              (QStringList{QStringLiteral("Selezionare Operatore"), QStringLiteral("Inserire la password"),
                           QStringLiteral("Password errata"), QStringLiteral("Password errata")}));
    EXPECT_FALSE(list.loggedIn());
    EXPECT_EQ(storedPassword(2), "1234") << "a refused login writes nothing";
}

// An inactive row sharing the username of an active operator does not open the till with its own
// password.
TEST_F(OperatorListTest, AnInactiveRowWithTheSameUsernameDoesNotLogIn)
{
    addOperator(4, "anna", core::OperatorPassword::hash(QStringLiteral("vecchia")), false);
    pos::OperatorList list(db(), m_dialogs);
    ASSERT_EQ(list.operators()[0].username, "anna");
    EXPECT_EQ(list.logIn(0, QStringLiteral("vecchia")), Outcome::WrongPassword);
    EXPECT_FALSE(list.loggedIn());
    EXPECT_EQ(list.logIn(0, QStringLiteral("segreta")), Outcome::Accepted);
    EXPECT_EQ(list.loggedIn()->username, "anna");
}

} // namespace
