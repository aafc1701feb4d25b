#include "foundation/BackupService.h"

#include "core/Clock.h"
#include "core/Connections.h"
#include "core/Dialogs.h"
#include "core/Paths.h"
#include "core/SchemaUpgrade.h"
#include "core/Session.h"
#include "core/StoredProcedures.h"

#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace carvendo::foundation {

namespace {

QString timestampText(const QDateTime& moment)
{
    return moment.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

// Claims the first of name.sql, name_2.sql, name_3.sql ... that does not exist yet by creating it
// empty, so a second workstation doing the same at once takes the next name and no dump is ever
// overwritten. The dump then replaces the empty file.
QString claimUnusedFileName(const QString& folder, const QString& name)
{
    for (int n = 1;; ++n) {
        const QString file = folder + u'/' + name + (n == 1 ? QString() : QStringLiteral("_%1").arg(n)) +
                             QStringLiteral(".sql");
        QFile claim(file);
        if (claim.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return file;
        if (!claim.exists())
            throw core::DumpError(
                QStringLiteral("Impossibile scrivere il file %1: %2").arg(file, claim.errorString()));
    }
}

// `backup`.`Percorso` is short: keep the whole path when it fits, else the file name alone (the
// folder is always the dump folder).
QString storablePath(core::Db& db, const QString& file)
{
    const core::Field width =
        db.scalar(QStringLiteral("SELECT CHARACTER_MAXIMUM_LENGTH FROM information_schema.COLUMNS "
                                 "WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = 'backup' "
                                 "AND COLUMN_NAME = 'Percorso'"));
    if (width.isNull() || file.size() <= width.toInt64())
        return file;
    return QFileInfo(file).fileName();
}

} // namespace

BackupService::BackupService(core::Connections& connections, const core::Paths& paths,
                             const core::Session& session, core::Dialogs& dialogs, const core::Clock& clock,
                             core::JobRunner runner, core::DatabaseDump dump)
    : m_connections(connections), m_paths(paths), m_session(session), m_dialogs(dialogs), m_clock(clock),
      m_runner(std::move(runner)), m_dump(std::move(dump))
{
}

BackupSummary BackupService::summary()
{
    const core::Rows rows = m_connections.company().query(
        QStringLiteral("SELECT Totale, DataUltimo FROM backupcontatore ORDER BY id LIMIT 1"));
    if (rows.isEmpty())
        return {};
    return {rows[0][QStringLiteral("Totale")].toInt(), rows[0][QStringLiteral("DataUltimo")].toString()};
}

QString BackupService::manualBackupFileName(const QDate& date)
{
    return QStringLiteral("BACKUP_") + date.toString(QStringLiteral("dd/MM/yyyy")).replace(u'/', u'_') +
           QStringLiteral(".sql");
}

QString BackupService::dumpFolder() const
{
    try {
        return core::Paths::ensureDir(m_paths.backupDir());
    } catch (const std::runtime_error& e) {
        throw core::DumpError(QString::fromStdString(e.what()));
    }
}

void BackupService::dump(const QString& label, const QString& file)
{
    // The job runs on its own thread with its own connection: copy what it needs.
    const core::ConnectionSettings settings = m_connections.companySettings();
    const core::DatabaseDump dumper = m_dump;
    m_runner(label, [settings, dumper, file](const core::Progress& progress) {
        dumper.dumpTo(settings, settings.database, file, progress);
    });
}

void BackupService::recordManualBackup(const QString& file)
{
    core::Db& db = m_connections.company();
    const QString now = timestampText(m_clock.now());
    const QString percorso = storablePath(db, file);
    core::Transaction transaction(db);
    db.exec(QStringLiteral("INSERT INTO backup (Data, Percorso) VALUES (:DATA, :PERCORSO)"),
            {{"DATA", now}, {"PERCORSO", percorso}});
    const qint64 counted =
        db.exec(QStringLiteral("UPDATE backupcontatore SET Totale = COALESCE(Totale, 0) + 1, "
                               "DataUltimo = :DATA ORDER BY id LIMIT 1"),
                {{"DATA", now}});
    if (counted == 0)
        db.exec(
            QStringLiteral("INSERT INTO backupcontatore (NrUltimo, Totale, DataUltimo) VALUES (0, 1, :DATA)"),
            {{"DATA", now}});
    transaction.commit();
}

bool BackupService::backUp()
{
    QString file;
    try {
        file = dumpFolder() + u'/' + manualBackupFileName(m_clock.today());
        dump(QStringLiteral("Backup in corso..."), file);
    } catch (const core::DbError& e) {
        m_dialogs.error(QStringLiteral("Backup non riuscito:\n") + e.message());
        return false;
    }
    try {
        recordManualBackup(file);
    } catch (const core::DbError& e) {
        m_dialogs.error(
            QStringLiteral("Il backup è stato salvato in %1, ma non è stato possibile registrarlo:\n%2")
                .arg(file, e.message()));
        return false;
    }
    m_dialogs.information(QStringLiteral("Backup avvenuto con successo"));
    return true;
}

bool BackupService::restore()
{
    const std::optional<QString> file = m_dialogs.chooseFile(
        QStringLiteral("Ripristina Dati"), QStringLiteral("Backup del database (*.sql);;Tutti i file (*)"),
        core::FileMode::Open, m_paths.backupDir());
    if (!file || file->isEmpty())
        return false;
    if (!m_dialogs.confirm(
            QStringLiteral("Attenzione, tutti i dati verranno sovrascritti! sei sicuro di voler eseguire il "
                           "restore del database?"),
            core::ConfirmButtons::YesNo))
        return false;
    const core::ConnectionSettings settings = m_connections.companySettings();
    const core::DatabaseDump dumper = m_dump;
    const QString path = *file;
    try {
        m_runner(QStringLiteral("Ripristino in corso..."),
                 [settings, dumper, path](const core::Progress& progress) {
                     dumper.restoreFrom(settings, settings.database, path, progress,
                                        [](core::Db& restored) { core::upgradeIfNeeded(restored); });
                 });
    } catch (const core::DbError& e) {
        m_dialogs.error(QStringLiteral("Restore non riuscito, i dati non sono stati modificati:\n") +
                        e.message());
        return false;
    }
    m_dialogs.information(QStringLiteral("Restore avvenuto con successo."));
    return true;
}

bool BackupService::startOfYear()
{
    if (!core::requirePrivilege(m_session, core::Privilege::FullAccess, m_dialogs))
        return false;
    if (!m_dialogs.confirm(
            QStringLiteral("ATTENZIONE! TUTTI I DOCUMENTI DI VENDITA E DI ACQUISTO VERRANNO AZZERATI. "
                           "VERRA' CREATO UN BACKUP DELL'ANNO CORRENTE. VUOI PROCEDERE ADESSO? "),
            core::ConfirmButtons::OkCancel))
        return false;
    QString file;
    int year = 0;
    try {
        // The year being closed is the server's, as for document numbers; in January that is the
        // year just ended.
        year = m_connections.company()
                   .scalar(QStringLiteral("SELECT YEAR(CURRENT_DATE - INTERVAL 1 MONTH)"))
                   .toInt();
        file = claimUnusedFileName(dumpFolder(), QStringLiteral("GESTIONALE_%1").arg(year));
        dump(QStringLiteral("Backup dell'anno in corso..."), file);
    } catch (const core::DbError& e) {
        if (!file.isEmpty())
            QFile::remove(file); // only the empty claim: a failed dump never replaces it
        m_dialogs.error(QStringLiteral("Backup non riuscito, i documenti non sono stati azzerati:\n") +
                        e.message());
        return false;
    }
    try {
        core::StoredProcedures(m_connections.company()).inizioAnno();
    } catch (const core::DbError&) {
        m_dialogs.error(QStringLiteral("Procedura non riuscita, riprovare."));
        return false;
    }
    m_dialogs.information(
        QStringLiteral("Procedura completata. Il backup dell'anno %1 è nel file %2").arg(year).arg(file));
    return true;
}

QString BackupService::safetyDump()
{
    const QString file = dumpFolder() + QStringLiteral("/BACKUP_SICUREZZA.sql");
    dump(QStringLiteral("Backup di sicurezza in corso..."), file);
    return file;
}

} // namespace carvendo::foundation
