#include "DialogoClose.h"

#include "BackupService.h"
#include "ConnectionIni.h"
#include "Dialogs.h"
#include "IniFile.h"
#include "Paths.h"
#include "SchemaUpgrade.h"
#include "Session.h"

namespace carvendo::core {

DialogoClose::DialogoClose(const Paths& paths, const Session& session, Dialogs& dialogs,
                           BackupService& backups)
    : m_paths(paths), m_session(session), m_dialogs(dialogs), m_backups(backups)
{
}

void DialogoClose::markSessionEnded()
{
    try {
        ConnectionIni ini(m_paths.connessioneIni());
        ini.setSession(SessionMarkers{0, false});
        ini.save();
    } catch (const IniFileError& e) {
        // Closing goes on: a stale marker must not keep the operator in the program.
        m_dialogs.warning(e.message());
    }
}

bool DialogoClose::safetyBackupAvailable() const
{
    return m_session.machineType() != MachineType::Client;
}

DialogoClose::Outcome DialogoClose::closeWithBackup()
{
    if (!requirePrivilege(m_session, Privilege::Impostazioni, m_dialogs))
        return Outcome::Stay;
    if (!safetyBackupAvailable())
        return Outcome::Stay;
    return backUpAndEnd();
}

DialogoClose::Outcome DialogoClose::confirmClose()
{
    bool backupOnClose = false;
    try {
        backupOnClose = ConnectionIni(m_paths.connessioneIni()).transfer().backupOnClose();
    } catch (const IniFileError& e) {
        m_dialogs.warning(e.message());
    }
    return backupOnClose ? backUpAndEnd() : end();
}

DialogoClose::Outcome DialogoClose::cancel()
{
    return Outcome::BackToMainWindow;
}

DialogoClose::Outcome DialogoClose::backUpAndEnd()
{
    try {
        m_backups.safetyDump();
    } catch (const DbError& e) {
        m_dialogs.error(QStringLiteral("Backup di sicurezza non riuscito:\n") + e.message());
        if (!m_dialogs.confirm(QStringLiteral("Vuoi chiudere comunque il software?"), ConfirmButtons::YesNo))
            return Outcome::Stay;
    }
    return end();
}

DialogoClose::Outcome DialogoClose::end()
{
    try {
        IniFile versione(m_paths.versioneIni());
        versione.setValue(u"SOFTWARE", u"VERSIONE ATTUALE", SchemaVersion.toString());
        versione.save();
    } catch (const IniFileError& e) {
        m_dialogs.warning(e.message());
    }
    return Outcome::EndProgram;
}

} // namespace carvendo::core
