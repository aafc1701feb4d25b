#pragma once

namespace carvendo::core {
class Dialogs;
class Paths;
class Session;
} // namespace carvendo::core

namespace carvendo::foundation {

class BackupService;

// The closing dialog: the only way the program ends once an operator is logged in. It may first
// dump the whole company database (BACKUP_SICUREZZA.sql), and it stamps the program version in
// Versione.ini whenever the program ends through it.
class DialogoClose
{
public:
    enum class Outcome
    {
        Stay,            // the dialog stays open (refused, or the operator chose not to close)
        EndProgram,      // the program must end now
        BackToMainWindow // the dialog closes and the main window stays
    };

    DialogoClose(const core::Paths& paths, const core::Session& session, core::Dialogs& dialogs,
                 BackupService& backups);

    // Step one of closing: the session markers of connessione.ini go back to 0 / not started.
    void markSessionEnded();

    // "Chiudi il software e fai un backup di sicurezza" is not offered on a CLIENT workstation.
    bool safetyBackupAvailable() const;

    // "Chiudi il software e fai un backup di sicurezza" (needs `impostazioni`).
    Outcome closeWithBackup();
    // "Conferma la chiusura": with `Transfer`/`Backup automatico` = 1 the safety dump is made
    // first, on any workstation and for any operator (it is the workstation's setting, not the
    // operator's choice); otherwise the program just ends.
    Outcome confirmClose();
    // "Annulla la chiusura e rientra".
    Outcome cancel();

private:
    Outcome backUpAndEnd();
    Outcome end();

    const core::Paths& m_paths;
    const core::Session& m_session;
    core::Dialogs& m_dialogs;
    BackupService& m_backups;
};

} // namespace carvendo::foundation
