#include "foundation/MainCommands.h"

#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

#include <set>

using namespace carvendo::core;
using namespace carvendo::foundation;

namespace {

using Kind = CommandPlace::Kind;

const MainCommands& table()
{
    return MainCommands::standard();
}

// The one command shown under the caption in the menu or group; fails the test when there is not
// exactly one.
const MainCommand* commandAt(Kind kind, const QString& container, const QString& caption)
{
    const QStringList ids = table().idsOf(kind, container, caption);
    EXPECT_EQ(ids.size(), 1) << container.toStdString() << " / " << caption.toStdString();
    return ids.size() == 1 ? table().find(ids.first()) : nullptr;
}

TEST(MainCommandsTest, IdsAreUniqueAndEveryCommandShowsSomewhere)
{
    std::set<QString> ids;
    for (const MainCommand& command : table().all()) {
        EXPECT_TRUE(ids.insert(command.id).second) << command.id.toStdString();
        EXPECT_FALSE(command.places.empty()) << command.id.toStdString();
        const bool opensWindow =
            command.action == CommandAction::OpenWindow || command.action == CommandAction::NewDocument;
        EXPECT_EQ(opensWindow, !command.requiredWindow().isEmpty()) << command.id.toStdString();
    }
}

TEST(MainCommandsTest, TableWithARepeatedIdIsRefused)
{
    MainCommand command;
    command.id = QStringLiteral("clienti");
    EXPECT_THROW(MainCommands({command, command}), std::invalid_argument);
}

// Menu items: caption, window, page, gate, flag.
struct MenuCase
{
    const char* menu;
    const char* caption;
    const char* window;
    const char* page;
    CommandGate gate;
    Privilege flag;
};

class MenuItemTest : public ::testing::TestWithParam<MenuCase>
{
};

TEST_P(MenuItemTest, OpensItsWindowBehindItsGate)
{
    const MenuCase& c = GetParam();
    const MainCommand* command =
        commandAt(Kind::MenuItem, QString::fromUtf8(c.menu), QString::fromUtf8(c.caption));
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->window, QString::fromUtf8(c.window));
    EXPECT_EQ(command->page(), QString::fromUtf8(c.page));
    EXPECT_EQ(command->gate, c.gate);
    if (c.gate == CommandGate::Flag) {
        EXPECT_EQ(command->flag, c.flag);
    }
}

constexpr auto Open = CommandGate::Everyone;
constexpr auto Flag = CommandGate::Flag;
constexpr auto OnlyFull = CommandGate::FullAccessOnly;
constexpr auto None = Privilege::FullAccess;

INSTANTIATE_TEST_SUITE_P(
    Table, MenuItemTest,
    ::testing::Values(
        MenuCase{"Anagrafiche", "Clienti", "TClienti", "", Open, None},
        MenuCase{"Anagrafiche", "Banche", "TImpostazioniNew", "Banche", Flag, Privilege::Impostazioni},
        MenuCase{"Vendite", "POS (Vendita al Banco)", "TPosTouch", "", Flag, Privilege::Pos},
        MenuCase{"Acquisti", "Resi Fornitori", "TDdt", "", Flag, Privilege::Ddt},
        MenuCase{"CAT", "Export", "TEsportazioneCat", "", OnlyFull, None},
        MenuCase{"Strumenti", "Restore", "TImpostazioniNew", "Backup/Restore", Flag, Privilege::Impostazioni},
        MenuCase{"Utility Extra", "Calendario", "Tplanner", "", Flag, Privilege::Planner}));

TEST(MainCommandsTest, NewDocumentButtonsTestTheirFlagAndMakeANewDocument)
{
    const auto group = table().entries(Kind::Button, QStringLiteral("Nuovo documento"));
    ASSERT_EQ(group.size(), 9u);
    for (const auto& entry : group) {
        EXPECT_EQ(entry.command->action, CommandAction::NewDocument) << entry.place.caption.toStdString();
        EXPECT_EQ(entry.command->gate, CommandGate::Flag) << entry.place.caption.toStdString();
    }
    EXPECT_EQ(group[7].command->window, QStringLiteral("TDettDdt")) << "Reso a Fornitore";
    EXPECT_EQ(group[7].command->flag, Privilege::Carico);
}

TEST(MainCommandsTest, SpecialActions)
{
    EXPECT_EQ(commandAt(Kind::MenuItem, "Strumenti", "Inizio Anno")->gate, CommandGate::FullAccessOnly);
    EXPECT_EQ(commandAt(Kind::MenuItem, "Vendite", "Configuratore POS")->flag, Privilege::Pos);
    EXPECT_EQ(commandAt(Kind::Button, "Programma", "Esci")->action, CommandAction::ClosingSequence);
}

TEST(MainCommandsTest, OnlyBackupAndRestoreNeedTheServerMachine)
{
    QStringList serverOnly;
    for (const MainCommand& command : table().all()) {
        if (command.disabledOnClient)
            serverOnly << command.captions();
    }
    EXPECT_EQ(serverOnly, (QStringList{"Backup", "Restore"}));
}

} // namespace
