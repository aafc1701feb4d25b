#pragma once

#include "foundation/MainCommands.h"

#include <QObject>
#include <QString>

#include <functional>

namespace carvendo::core {
class Dialogs;
class Navigator;
class Paths;
class Session;
} // namespace carvendo::core

namespace carvendo::foundation {

class BackupService;

// How a command shows in the main window right now.
struct CommandState
{
    bool enabled = true;
    QString toolTip{};
};

// Starts an external program without waiting for it; false when it could not be started.
using ProgramStarter = std::function<bool(const QString& program)>;
// The starter of the program: a detached process.
bool startDetachedProgram(const QString& program);

// The main window's logic: the command table behind the privilege gate, what the window does when
// it shows, and the closing sequence.
//
// A command whose window the program does not have yet is disabled with the tooltip "Non ancora
// disponibile", never a command that silently does nothing. The start of year runs through the
// backup service; the closing sequence ends in the closing dialog "TDialogoClose".
class Principale : public QObject
{
    Q_OBJECT

public:
    // Whether the program has the window of that name.
    using Availability = std::function<bool(const QString& window)>;

    static QString callerName() { return QStringLiteral("Principale"); }
    static QString unavailableToolTip() { return QStringLiteral("Non ancora disponibile"); }

    Principale(core::Session& session, const core::Paths& paths, core::Dialogs& dialogs,
               core::Navigator& navigator, BackupService& backups, Availability isAvailable,
               const MainCommands& commands = MainCommands::standard(), QObject* parent = nullptr);

    const MainCommands& commands() const { return m_commands; }
    CommandState state(const QString& commandId) const;

    // The main window is shown: opens the reminders when this workstation wants them.
    void shown();

    // Runs a command: the privilege gate first, then its window or action. A disabled command
    // does nothing. Unknown ids throw std::invalid_argument.
    void run(const QString& commandId);

    // Closing the main window is always refused at first: this runs the closing sequence instead
    // and returns true only when the program is to end.
    bool requestClose();
    bool programEnding() const { return m_ending; }

    // The status bar: who works, where, in which company.
    QString operatorText() const;
    QString warehouseText() const;
    const QString& companyText() const { return m_company; }
    void setCompanyText(const QString& company);

    // Where the external POS configuration program is configured (impostazioni.ini).
    static QString posConfiguratorSection() { return QStringLiteral("CONFIGURATORE POS"); }
    static QString posConfiguratorKey() { return QStringLiteral("Programma"); }
    void setProgramStarter(ProgramStarter starter) { m_startProgram = std::move(starter); }

signals:
    void statusChanged();
    // The closing sequence decided that the program ends.
    void endProgramRequested();

private:
    bool passesGate(const MainCommand& command) const;
    void perform(const MainCommand& command);
    bool isClientMachine() const;
    void startPosConfigurator();
    bool wantsReminders() const;

    core::Session& m_session;
    const core::Paths& m_paths;
    core::Dialogs& m_dialogs;
    core::Navigator& m_navigator;
    BackupService& m_backups;
    Availability m_isAvailable;
    const MainCommands& m_commands;
    ProgramStarter m_startProgram = startDetachedProgram;
    QString m_company;
    bool m_ending = false;
};

} // namespace carvendo::foundation
