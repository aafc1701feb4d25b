#include "tools/admin/CompanyCommands.h"

#include "core/Clock.h"
#include "core/CompanyDatabase.h"
#include "core/SchemaUpgrade.h"
#include "core/Session.h"

#include <QFileInfo>

namespace carvendo::admin {

QString ListCompaniesCommand::synopsis() const
{
    return QStringLiteral("list-companies                 elenca le aziende della lista");
}

int ListCompaniesCommand::run(AdminContext& context, const CommandLine& line)
{
    if (!line.arguments().isEmpty())
        throw UsageError(QStringLiteral("list-companies non vuole argomenti"));
    auto db = context.openDirectory();
    QTextStream& out = context.out();
    out << "id\tragionesociale\tdatabasename\thost\tporta\tultimo accesso\n";
    for (const core::Row& row : core::CompanyDirectory(*db).list()) {
        const core::CompanyRecord c = core::CompanyRecord::fromRow(row);
        out << c.id << '\t' << c.ragionesociale << '\t' << c.databasename << '\t' << c.host << '\t' << c.porta
            << '\t'
            << (c.lastaccess.isValid() ? c.lastaccess.toString(QStringLiteral("dd/MM/yyyy HH:mm"))
                                       : QString())
            << '\n';
    }
    return 0;
}

QString CreateCompanyCommand::synopsis() const
{
    return QStringLiteral(
        "create-company NOME [--ragione-sociale TESTO]\n"
        "                               crea il database NOME di una nuova azienda dal modello\n"
        "                               e la aggiunge alla lista");
}

int CreateCompanyCommand::run(AdminContext& context, const CommandLine& line)
{
    if (line.arguments().size() != 1)
        throw UsageError(QStringLiteral("Indicare il nome del database della nuova azienda"));
    const QString name = line.arguments().first();
    const QString templatePath = context.paths().dbTemplate();
    if (!QFileInfo::exists(templatePath))
        throw AdminFailure(QStringLiteral("Modello del database non trovato: %1").arg(templatePath));

    const core::DirectorySettings& directory = context.directory();
    auto server = context.openServer();
    // A workstation that hosts the server makes its directory when it is missing, as the server window does.
    if (core::machineTypeFromText(directory.machineType) == core::MachineType::ClientServer)
        core::CompanyDirectory::ensureDirectoryDatabase(*server, directory.database);
    auto directoryDb = context.openDirectory();
    core::CompanyDirectory companies(*directoryDb);
    for (const core::Row& row : companies.list())
        if (row[u"databasename"].toString().compare(name, Qt::CaseInsensitive) == 0)
            throw AdminFailure(
                QStringLiteral("Il database \"%1\" è già nella lista delle aziende").arg(name));
    if (core::CompanyDirectory::directoryExists(*server, name))
        throw AdminFailure(QStringLiteral("Il database \"%1\" esiste già sul server").arg(name));

    core::createCompanyDatabase(*server, name, templatePath);
    core::CompanyRecord record;
    record.ragionesociale =
        line.has(QStringLiteral("ragione-sociale")) ? line.value(QStringLiteral("ragione-sociale")) : name;
    record.lastaccess = context.clock().now();
    record.host = directory.server;
    record.porta = directory.port;
    record.username = directory.username;
    record.password = directory.password;
    record.databasename = name;
    int id = 0;
    try {
        id = companies.save(record);
    } catch (...) {
        // A database nobody can reach from the list would only be in the way of the next attempt.
        core::dropDatabase(*server, name);
        throw;
    }
    context.out() << QStringLiteral("Azienda creata: database %1, id %2\n").arg(name).arg(id);
    return 0;
}

QString UpgradeCommand::synopsis() const
{
    return QStringLiteral("upgrade [NOME...]              aggiorna lo schema delle aziende indicate (tutte\n"
                          "                               se non indicate) alla versione del programma");
}

int UpgradeCommand::run(AdminContext& context, const CommandLine& line)
{
    const QString version = core::SchemaVersion.toString();
    int failures = 0;
    for (const core::CompanyRecord& company : context.companies(line.arguments())) {
        try {
            core::Db db(company.connection());
            db.open();
            if (!core::needsUpgrade(db)) {
                context.out()
                    << QStringLiteral("%1: già alla versione %2\n").arg(company.databasename, version);
                continue;
            }
            core::upgrade(db);
            context.out()
                << QStringLiteral("%1: aggiornato alla versione %2\n").arg(company.databasename, version);
        } catch (const core::DbError& e) {
            ++failures;
            context.err() << QStringLiteral("%1: aggiornamento non riuscito: %2\n")
                                 .arg(company.databasename, e.message());
        }
    }
    return failures == 0 ? 0 : 1;
}

} // namespace carvendo::admin
