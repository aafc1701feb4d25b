#include "tools/admin/DumpCommands.h"

#include "core/Clock.h"
#include "core/DatabaseDump.h"
#include "core/SchemaUpgrade.h"

#include <QFileInfo>

namespace carvendo::admin {

QString BackupCommand::synopsis() const
{
    return QStringLiteral(
        "backup [NOME...] [--file FILE] salva le aziende indicate (tutte se non indicate) in\n"
        "                               file datati nella cartella dei backup e ne scrive i percorsi");
}

QString BackupCommand::datedFile(const core::Paths& paths, const QString& database, const QDateTime& when)
{
    return paths.backupDir() + u'/' + database + u'_' + when.toString(QStringLiteral("yyyy-MM-dd_HHmmss")) +
           QStringLiteral(".sql");
}

int BackupCommand::run(AdminContext& context, const CommandLine& line)
{
    const bool chosenFile = line.has(QStringLiteral("file"));
    if (chosenFile && line.arguments().size() != 1)
        throw UsageError(QStringLiteral("L'opzione --file vale per una sola azienda: indicarne il database"));
    const std::vector<core::CompanyRecord> companies = context.companies(line.arguments());
    if (companies.empty())
        throw AdminFailure(QStringLiteral("Nessuna azienda da salvare nella lista delle aziende"));

    const QDateTime now = context.clock().now();
    const core::DatabaseDump dump;
    int failures = 0;
    for (const core::CompanyRecord& company : companies) {
        const QString file = chosenFile ? QFileInfo(line.value(QStringLiteral("file"))).absoluteFilePath()
                                        : datedFile(context.paths(), company.databasename, now);
        try {
            core::Paths::ensureDir(QFileInfo(file).absolutePath());
            dump.dumpTo(company.connection(), company.databasename, file);
            context.out() << file << '\n';
        } catch (const std::exception& e) {
            // one company that fails must not cost the others their nightly copy
            ++failures;
            context.err() << QStringLiteral("%1: backup non riuscito: %2\n")
                                 .arg(company.databasename, QString::fromUtf8(e.what()));
        }
    }
    return failures == 0 ? 0 : 1;
}

QString RestoreCommand::synopsis() const
{
    return QStringLiteral(
        "restore NOME FILE --conferma   sostituisce i dati dell'azienda NOME con quelli del file");
}

int RestoreCommand::run(AdminContext& context, const CommandLine& line)
{
    if (line.arguments().size() != 2)
        throw UsageError(QStringLiteral("Indicare il database dell'azienda e il file da ripristinare"));
    const QString database = line.arguments()[0];
    const QString file = QFileInfo(line.arguments()[1]).absoluteFilePath();
    if (!QFileInfo(file).isFile())
        throw AdminFailure(QStringLiteral("File non trovato: %1").arg(file));
    if (!line.has(QStringLiteral("conferma")))
        throw UsageError(
            QStringLiteral("Attenzione, tutti i dati verranno sovrascritti! Ripetere il comando con "
                           "--conferma per eseguire il restore del database %1.")
                .arg(database));
    const std::vector<core::CompanyRecord> companies = context.companies({database});
    const core::CompanyRecord& company = companies.front();
    core::DatabaseDump().restoreFrom(company.connection(), company.databasename, file, {},
                                     [](core::Db& restored) { core::upgradeIfNeeded(restored); });
    context.out() << QStringLiteral("Restore avvenuto con successo.\n");
    return 0;
}

} // namespace carvendo::admin
