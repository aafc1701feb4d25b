#include "Session.h"
#include "Privileges.h"
#include "Rows.h"

#include "QtPrinters.h"
#include "ScriptedDialogs.h"

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

struct GuardCase
{
    const char* column;
    Privilege privilege;
};

class PrivilegeGuard : public ::testing::TestWithParam<GuardCase>
{
};

// A group with only this flag may run the commands guarded by it and by nothing else.
TEST_P(PrivilegeGuard, OneFlagOpensOnlyItsOwnCommands)
{
    const Rows rows = gruppiRow({GetParam().column});
    const Privileges privileges = Privileges::fromGruppiRow(rows.first());
    for (const GuardCase& other :
         {GuardCase{"pos", Privilege::Pos}, GuardCase{"carico", Privilege::Carico},
          GuardCase{"fatturazione", Privilege::Fatturazione}, GuardCase{"cat", Privilege::Cat},
          GuardCase{"statistiche", Privilege::Statistiche}, GuardCase{"magazzino", Privilege::Magazzino},
          GuardCase{"ddt", Privilege::Ddt}, GuardCase{"ordini_fornitori", Privilege::OrdiniFornitori},
          GuardCase{"ordini_clienti", Privilege::OrdiniClienti},
          GuardCase{"impostazioni", Privilege::Impostazioni},
          GuardCase{"scadenzario", Privilege::Scadenzario}, GuardCase{"planner", Privilege::Planner},
          GuardCase{"cancellazione", Privilege::Cancellazione},
          GuardCase{"aggiornamento", Privilege::Aggiornamento}})
        EXPECT_EQ(privileges.allows(other.privilege), other.privilege == GetParam().privilege)
            << "group with " << GetParam().column << ", asking " << other.column;
    EXPECT_EQ(privileges.canDelete(), GetParam().privilege == Privilege::Cancellazione);
    EXPECT_EQ(privilegeColumn(GetParam().privilege), QString::fromUtf8(GetParam().column));
}

INSTANTIATE_TEST_SUITE_P(
    Gruppi, PrivilegeGuard,
    ::testing::Values(
        GuardCase{"pos", Privilege::Pos}, GuardCase{"carico", Privilege::Carico},
        GuardCase{"fatturazione", Privilege::Fatturazione}, GuardCase{"cat", Privilege::Cat},
        GuardCase{"statistiche", Privilege::Statistiche}, GuardCase{"magazzino", Privilege::Magazzino},
        GuardCase{"ddt", Privilege::Ddt}, GuardCase{"ordini_fornitori", Privilege::OrdiniFornitori},
        GuardCase{"ordini_clienti", Privilege::OrdiniClienti},
        GuardCase{"impostazioni", Privilege::Impostazioni}, GuardCase{"scadenzario", Privilege::Scadenzario},
        GuardCase{"planner", Privilege::Planner}, GuardCase{"cancellazione", Privilege::Cancellazione},
        GuardCase{"aggiornamento", Privilege::Aggiornamento}));

TEST(Privileges, FullAccessOpensEverythingIncludingDeletion)
{
    const Rows rows = gruppiRow({"fullaccess"});
    const Privileges privileges = Privileges::fromGruppiRow(rows.first());
    for (Privilege p :
         {Privilege::Pos, Privilege::Fatturazione, Privilege::Impostazioni, Privilege::Cancellazione})
        EXPECT_TRUE(privileges.allows(p));
    EXPECT_TRUE(privileges.canDelete());
    EXPECT_FALSE(privileges.has(Privilege::Pos)); // the flag itself stays as stored
}

TEST(Privileges, ColumnsAreFoundIgnoringCaseAndAMissingColumnGrantsNothing)
{
    const Rows rows({"ID", "Descrizione", "POS", "Ordini_Clienti", "FullAccess"},
                    {{QVariant(1), QVariant(QStringLiteral("BANCO")), QVariant(true),
                      QVariant(QStringLiteral("1")), QVariant(false)}});
    const Privileges privileges = Privileges::fromGruppiRow(rows.first());
    EXPECT_TRUE(privileges.allows(Privilege::Pos));
    EXPECT_TRUE(privileges.allows(Privilege::OrdiniClienti));
    EXPECT_FALSE(privileges.allows(Privilege::Fatturazione));
    EXPECT_FALSE(privileges.canDelete());
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
    EXPECT_FALSE(session.isLoggedIn());
    EXPECT_FALSE(session.allows(Privilege::Pos));

    session.logIn(Operator::fromUtentiRow(utenti.first()), Warehouse{2, QStringLiteral("NEGOZIO CENTRO")},
                  Privileges::fromGruppiRow(gruppi.first()));
    EXPECT_TRUE(session.isLoggedIn());
    EXPECT_EQ(session.currentOperator(), (Operator{4, "Mario Rossi", "mario", "segreta", "CASSIERI"}));
    EXPECT_EQ(session.warehouse(), (Warehouse{2, "NEGOZIO CENTRO"}));
    EXPECT_TRUE(session.allows(Privilege::Pos));
    EXPECT_FALSE(session.allows(Privilege::Carico));
    EXPECT_EQ(session.machineType(), MachineType::Client);
    EXPECT_EQ(Session::schemaVersion(), "6.1.3");

    session.logOut();
    EXPECT_FALSE(session.isLoggedIn());
    EXPECT_EQ(session.currentOperator(), Operator{});
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
    EXPECT_TRUE(dialogs.events().empty());

    EXPECT_FALSE(requirePrivilege(session, Privilege::Fatturazione, dialogs));
    ASSERT_EQ(dialogs.events().size(), 1u);
    EXPECT_EQ(dialogs.events()[0].kind, DialogEvent::Kind::Information);
    EXPECT_EQ(dialogs.events()[0].text, NoPrivilege);
}

TEST(Session, MachineTypeKeepsItsSettingsText)
{
    EXPECT_EQ(machineTypeText(MachineType::Client), "CLIENT");
    EXPECT_EQ(machineTypeText(MachineType::ClientServer), "CLIENT/SERVER");
    const std::pair<const char16_t*, std::optional<MachineType>> cases[] = {
        {u"CLIENT", MachineType::Client},
        {u"CLIENT/SERVER", MachineType::ClientServer},
        {u" client/server ", MachineType::ClientServer},
        {u"SERVER", std::nullopt},
        {u"", std::nullopt},
        {u"CLIENT SERVER", std::nullopt}};
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(machineTypeFromText(QStringView(text)), expected) << QString::fromUtf16(text).toStdString();
}

} // namespace
