#include "foundation/Principale.h"

#include "core/CommandGuard.h"
#include "core/Dialogs.h"
#include "core/IniFile.h"
#include "core/Navigator.h"
#include "core/Paths.h"
#include "core/Session.h"
#include "foundation/BackupService.h"
#include "foundation/DialogoClose.h"
#include "foundation/ImpostazioniIni.h"

#include <QProcess>

#include <stdexcept>

namespace carvendo::foundation {

namespace {

const QString ClosingWindow = QStringLiteral("TDialogoClose");
const QString RemindersWindow = QStringLiteral("TPromemoria");

} // namespace

bool startDetachedProgram(const QString& program)
{
    return QProcess::startDetached(program, {});
}

Principale::Principale(core::Session& session, const core::Paths& paths, core::Dialogs& dialogs,
                       core::Navigator& navigator, BackupService& backups, Availability isAvailable,
                       const MainCommands& commands, QObject* parent)
    : QObject(parent), m_session(session), m_paths(paths), m_dialogs(dialogs), m_navigator(navigator),
      m_backups(backups), m_isAvailable(std::move(isAvailable)), m_commands(commands)
{
    connect(&m_session, &core::Session::loginChanged, this, &Principale::statusChanged);
}

CommandState Principale::state(const QString& commandId) const
{
    const MainCommand* command = m_commands.find(commandId);
    if (!command)
        throw std::invalid_argument("unknown main command: " + commandId.toStdString());
    const QString window = command->requiredWindow();
    if (!window.isEmpty() && !(m_isAvailable && m_isAvailable(window)))
        return {false, unavailableToolTip()};
    if (command->disabledOnClient && isClientMachine())
        return {false, {}};
    return {};
}

bool Principale::isClientMachine() const
{
    return m_session.machineType() == core::MachineType::Client;
}

bool Principale::passesGate(const MainCommand& command) const
{
    switch (command.gate) {
    case CommandGate::Everyone:
        return true;
    case CommandGate::Flag:
        return core::requirePrivilege(m_session, command.flag, m_dialogs);
    case CommandGate::FullAccessOnly:
        return core::requirePrivilege(m_session, core::Privilege::FullAccess, m_dialogs);
    }
    return false;
}

void Principale::run(const QString& commandId)
{
    const MainCommand* command = m_commands.find(commandId);
    if (!command)
        throw std::invalid_argument("unknown main command: " + commandId.toStdString());
    if (!state(commandId).enabled || !passesGate(*command))
        return;

    // A command that fails (a lost server, a broken table, a settings file) says why; the main
    // window stays.
    core::runGuarded(m_dialogs, [&] { perform(*command); });
}

void Principale::perform(const MainCommand& command)
{
    switch (command.action) {
    case CommandAction::OpenWindow:
        m_navigator.open(core::NavigationRequest{command.window, {}, callerName(), command.values});
        break;
    case CommandAction::NewDocument: {
        // No key: the document window makes a new record.
        QVariantMap values = command.values;
        values.insert(QStringLiteral("nuovo"), true);
        m_navigator.open(core::NavigationRequest{command.window, {}, callerName(), values});
        break;
    }
    case CommandAction::ClosingSequence:
        requestClose();
        break;
    case CommandAction::StartOfYear:
        m_backups.startOfYear();
        break;
    case CommandAction::PosConfigurator:
        startPosConfigurator();
        break;
    }
}

void Principale::startPosConfigurator()
{
    QString program;
    try {
        program = core::IniFile(m_paths.impostazioniIni())
                      .value(posConfiguratorSection(), posConfiguratorKey())
                      .trimmed();
    } catch (const core::IniFileError&) {
        program.clear(); // an unreadable settings file: the module counts as not installed
    }
    if (program.isEmpty() || !m_startProgram(program))
        m_dialogs.information(QStringLiteral("Modulo non installato"));
}

bool Principale::wantsReminders() const
{
    try {
        return ImpostazioniIni(m_paths.impostazioniIni()).flag(ImpostazioniKeys::promemoria());
    } catch (const core::IniFileError&) {
        return false; // the reminders are a preference: an unreadable file must not stop the start
    }
}

void Principale::shown()
{
    // The reminders come with a later part of the program: until then the preference is ignored.
    if (wantsReminders() && m_isAvailable && m_isAvailable(RemindersWindow))
        m_navigator.open(core::NavigationRequest{RemindersWindow, {}, callerName(), {}});
}

bool Principale::requestClose()
{
    if (m_ending)
        return true;
    DialogoClose(m_paths, m_session, m_dialogs, m_backups).markSessionEnded();
    if (m_isAvailable && m_isAvailable(ClosingWindow)) {
        m_ending = m_navigator.open(core::NavigationRequest{ClosingWindow, {}, callerName(), {}}).accepted;
    } else {
        // Without the closing dialog the operator still gets the question, never a window that
        // cannot be closed.
        m_ending = m_dialogs.confirm(QStringLiteral("Vuoi veramente chiudere il software?"),
                                     core::ConfirmButtons::YesNo, QStringLiteral("Chiusura Applicazione"));
    }
    if (m_ending)
        emit endProgramRequested();
    return m_ending;
}

QString Principale::operatorText() const
{
    const core::Operator& who = m_session.currentOperator();
    return who.nome.isEmpty() ? who.username : who.nome;
}

QString Principale::warehouseText() const
{
    return m_session.warehouse().name;
}

void Principale::setCompanyText(const QString& company)
{
    if (company == m_company)
        return;
    m_company = company;
    emit statusChanged();
}

} // namespace carvendo::foundation
