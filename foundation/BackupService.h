#pragma once

#include "core/DatabaseDump.h"
#include "core/LongJob.h"

#include <QDate>
#include <QString>

namespace carvendo::core {
class Clock;
class Connections;
class Dialogs;
class Paths;
class Session;
} // namespace carvendo::core

namespace carvendo::foundation {

// What the "Backup/Restore" page shows: `backupcontatore`.`Totale` and `DataUltimo`.
struct BackupSummary
{
    int totale = 0;
    QString dataUltimo;
    bool operator==(const BackupSummary&) const = default;
};

// The dumps of the company database: the manual backup and the restore of the "Backup/Restore"
// page, the start of year, and the safety dump of the closing dialog. Every dump goes to the dump
// folder (Paths::backupDir()). The long part of each command goes through the JobRunner, so a
// window can run it behind a progress bar; everything else happens on the caller's thread.
class BackupService
{
public:
    BackupService(core::Connections& connections, const core::Paths& paths, const core::Session& session,
                  core::Dialogs& dialogs, const core::Clock& clock, core::JobRunner runner,
                  core::DatabaseDump dump = core::DatabaseDump());

    BackupSummary summary();

    // "BACKUP_" + the date as dd/MM/yyyy with every "/" turned into "_" + ".sql".
    static QString manualBackupFileName(const QDate& date);
    // "Esegui Backup": dumps the company, logs it in `backup` and counts it in `backupcontatore`.
    // True when done; false after an error box.
    bool backUp();
    // "Ripristina Dati": replaces the company's data with a dump file the operator picks.
    bool restore();
    // "Inizio Anno" (fullaccess only): keeps the closing year in GESTIONALE_<year>.sql (in January the
    // year just ended; a second run of the same year gets GESTIONALE_<year>_2.sql, never the same
    // file), then empties the year's sale and purchase documents but what is still open (INIZIOANNO).
    // Never empties them without that dump.
    bool startOfYear();

    // The dump of the closing dialog: BACKUP_SICUREZZA.sql, replaced only by a complete new dump.
    // Returns the file; throws DbError/DumpError with the reason, and shows nothing itself.
    QString safetyDump();

private:
    QString dumpFolder() const;
    void dump(const QString& label, const QString& file);
    void recordManualBackup(const QString& file);

    core::Connections& m_connections;
    const core::Paths& m_paths;
    const core::Session& m_session;
    core::Dialogs& m_dialogs;
    const core::Clock& m_clock;
    core::JobRunner m_runner;
    core::DatabaseDump m_dump;
};

} // namespace carvendo::foundation
