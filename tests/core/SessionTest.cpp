#include "core/Session.h"
#include "core/Privileges.h"
#include "core/Rows.h"

#include "tests/support/QtPrinters.h"
#include "tests/support/ScriptedDialogs.h"

#include <gtest/gtest.h>

using namespace carvendo::core;
using carvendo::testing::DialogEvent;
using carvendo::testing::ScriptedDialogs;

namespace {

const QString NoPrivilege = QStringLiteral("Non possiedi i privilegi per eseguire questa operazione");

// A `gruppi` row as the server returns it: tinyint flags, column names in the table's own case.
Rows gruppiRow(const QStringList& setColumns)
{
    const QStringList columns{"id",           "descrizione", "fatturazione",     "carico",
                              "pos",          "statistiche", "fullaccess",       "cat",
                              "magazzino",    "ddt",         "ordini_fornitori", "ordini_clienti",
                              "impostazioni", "scadenzario", "planner",          "cancellazione",
                              "aggiornamento"};
    std::vector<QVariant> values{QVariant(3), QVariant(QStringLiteral("CASSIERI"))};
    for (qsizetype i = 2; i < columns.size(); ++i)
        values.emplace_back(setColumns.contains(columns[i]) ? 1 : 0);
    return Rows(columns, {values});
}

// A flag opens only its own commands; full access opens every one and deletion too, while the flag
// itself stays as stored.
TEST(Privileges, OneFlagOpensItsOwnCommandsAndFullAccessOpensAll)
{
    const Privileges suppliers = Privileges::fromGruppiRow(gruppiRow({"ordini_fornitori"}).first());
    EXPECT_TRUE(suppliers.allows(Privilege::OrdiniFornitori));
    EXPECT_FALSE(suppliers.allows(Privilege::OrdiniClienti));
    EXPECT_FALSE(suppliers.canDelete());
    EXPECT_TRUE(Privileges::fromGruppiRow(gruppiRow({"cancellazione"}).first()).canDelete());

    const Privileges full = Privileges::fromGruppiRow(gruppiRow({"fullaccess"}).first());
    EXPECT_TRUE(full.allows(Privilege::Impostazioni));
    EXPECT_TRUE(full.canDelete());
    EXPECT_FALSE(full.has(Privilege::Pos));
}

TEST(Privileges, ColumnsAreFoundIgnoringCaseAndAMissingColumnGrantsNothing)
{
    const Rows rows({"ID", "Descrizione", "POS", "Ordini_Clienti", "FullAccess"},
                    {{QVariant(1), QVariant(QStringLiteral("BANCO")), QVariant(true),
                      QVariant(QStringLiteral("1")), QVariant(false)}});
    const Privileges privileges = Privileges::fromGruppiRow(rows.first());
    EXPECT_TRUE(privileges.allows(Privilege::OrdiniClienti));
    EXPECT_FALSE(privileges.allows(Privilege::Fatturazione));
}

TEST(Session, LoginStateIsSharedAndResetOnLogout)
{
    const Rows utenti(
        {"id", "nome", "username", "password", "nomepermesso", "Attivo", "loggato", "magazzino"},
        {{QVariant(4), QVariant(QStringLiteral("Mario Rossi")), QVariant(QStringLiteral("mario")),
          QVariant(QStringLiteral("segreta")), QVariant(QStringLiteral("CASSIERI")), QVariant(1), QVariant(0),
          QVariant(QStringLiteral("NEGOZIO CENTRO"))}});
    const Rows gruppi = gruppiRow({"pos"});

    Session session(MachineType::Client);
    int changes = 0;
    QObject::connect(&session, &Session::loginChanged, [&] { ++changes; });
    session.logIn(Operator::fromUtentiRow(utenti.first()), Warehouse{2, QStringLiteral("NEGOZIO CENTRO")},
                  Privileges::fromGruppiRow(gruppi.first()));
    EXPECT_TRUE(session.allows(Privilege::Pos));

    session.logOut();
    EXPECT_FALSE(session.isLoggedIn());
    EXPECT_FALSE(session.allows(Privilege::Pos));
    EXPECT_EQ(changes, 2);
}

TEST(Session, GuardedCommandTellsTheOperatorWhyNothingHappens)
{
    const Rows gruppi = gruppiRow({"magazzino"});
    Session session;
    session.logIn(Operator{1, "Anna", "anna", "x", "MAGAZZINIERI"}, Warehouse{1, "SEDE"},
                  Privileges::fromGruppiRow(gruppi.first()));
    ScriptedDialogs dialogs;

    EXPECT_TRUE(requirePrivilege(session, Privilege::Magazzino, dialogs));
    EXPECT_FALSE(requirePrivilege(session, Privilege::Fatturazione, dialogs));
    EXPECT_EQ(dialogs.texts(DialogEvent::Kind::Information), QStringList{NoPrivilege});
}

} // namespace
