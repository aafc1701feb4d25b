#include "foundation/DialogoClose.h"

#include "core/ConnectionIni.h"
#include "core/Dialogs.h"
#include "core/IniFile.h"
#include "core/Paths.h"
#include "core/SchemaUpgrade.h"
#include "core/Session.h"
#include "foundation/BackupService.h"

namespace carvendo::foundation {

DialogoClose::DialogoClose(const core::Paths& paths, const core::Session& session, core::Dialogs& dialogs,
                           BackupService& backups)
    : m_paths(paths), m_session(session), m_dialogs(dialogs), m_backups(backups)
{
}

void DialogoClose::markSessionEnded()
{
    try {
        core::ConnectionIni ini(m_paths.connessioneIni());
        ini.setSession(core::SessionMarkers{0, false});
        ini.save();
    } catch (const core::IniFileError& e) {
        // Closing goes on: a stale marker must not keep the operator in the program.
        m_dialogs.warning(e.message());
    }
}

bool DialogoClose::safetyBackupAvailable() const
{
    return m_session.machineType() != core::MachineType::Client;
}

DialogoClose::Outcome DialogoClose::closeWithBackup()
{
    if (!core::requirePrivilege(m_session, core::Privilege::Impostazioni, m_dialogs))
        return Outcome::Stay;
    if (!safetyBackupAvailable())
        return Outcome::Stay;
    return backUpAndEnd();
}

DialogoClose::Outcome DialogoClose::confirmClose()
{
    bool backupOnClose = false;
    try {
        backupOnClose = core::ConnectionIni(m_paths.connessioneIni()).transfer().backupOnClose();
    } catch (const core::IniFileError& e) {
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
    } catch (const core::DbError& e) {
        m_dialogs.error(QStringLiteral("Backup di sicurezza non riuscito:\n") + e.message());
        if (!m_dialogs.confirm(QStringLiteral("Vuoi chiudere comunque il software?"),
                               core::ConfirmButtons::YesNo))
            return Outcome::Stay;
    }
    return end();
}

DialogoClose::Outcome DialogoClose::end()
{
    try {
        core::IniFile versione(m_paths.versioneIni());
        versione.setValue(u"SOFTWARE", u"VERSIONE ATTUALE", core::SchemaVersion.toString());
        versione.save();
    } catch (const core::IniFileError& e) {
        m_dialogs.warning(e.message());
    }
    return Outcome::EndProgram;
}

} // namespace carvendo::foundation
