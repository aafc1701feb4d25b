#pragma once

#include "core/Privileges.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <vector>

namespace carvendo::foundation {

// Who may run a command of the main window.
enum class CommandGate
{
    Everyone,      // no flag
    Flag,          // `fullaccess` or the command's flag
    FullAccessOnly // `fullaccess` and nothing else
};

// What a command does.
enum class CommandAction
{
    OpenWindow,      // opens its window (on the page or mode given in its values)
    NewDocument,     // opens its document window on a new record
    ClosingSequence, // the closing dialog; the program may end
    StartOfYear,     // dump of the year and INIZIOANNO
    PosConfigurator  // starts the external POS configuration program
};

// One place where a command shows: an item of a menu of the menu bar, or a button of a group of the
// button bar. The same command often shows in both places under different captions.
struct CommandPlace
{
    enum class Kind
    {
        MenuItem,
        Button
    };
    Kind kind = Kind::MenuItem;
    QString container; // the menu ("Anagrafiche") or the button group ("Nuovo documento")
    QString caption;
    bool separatorBefore = false; // menus only: a line before the item
};

// One command of the main window.
struct MainCommand
{
    QString id; // stable name, for the view and tests ("fatture")
    std::vector<CommandPlace> places;
    CommandGate gate = CommandGate::Everyone;
    core::Privilege flag = core::Privilege::FullAccess; // read only when gate is Flag
    CommandAction action = CommandAction::OpenWindow;
    QString window;                // the window it opens (OpenWindow, NewDocument)
    QVariantMap values{};          // handed to the window: "page" for a page of it, "modalita" for a mode
    bool disabledOnClient = false; // needs the server on this machine (dumps are written there)

    QString page() const { return values.value(QStringLiteral("page")).toString(); }
    // The window the command needs to be available, or empty when it needs none.
    QString requiredWindow() const;
    // The captions of its places, in order (menu item first where it has one).
    QStringList captions() const;
};

// The command table of the main window as data: the view builds every menu and button from it, the
// logic runs every command from it. Menus and button groups keep the order in which they are
// first named.
class MainCommands
{
public:
    // The table of the program.
    static const MainCommands& standard();

    explicit MainCommands(std::vector<MainCommand> commands);

    const std::vector<MainCommand>& all() const { return m_commands; }
    // The command, or nullptr for an unknown id.
    const MainCommand* find(const QString& id) const;

    QStringList menus() const;        // menu bar, left to right
    QStringList buttonGroups() const; // button bar groups, in order

    // The entries of one menu or button group, in table order.
    struct Entry
    {
        const MainCommand* command;
        CommandPlace place;
    };
    std::vector<Entry> entries(CommandPlace::Kind kind, const QString& container) const;

    // The ids of the commands that show a caption in the menu or group ("Strumenti", "Backup").
    QStringList idsOf(CommandPlace::Kind kind, const QString& container, const QString& caption) const;

private:
    QStringList containers(CommandPlace::Kind kind) const;

    std::vector<MainCommand> m_commands;
};

} // namespace carvendo::foundation
