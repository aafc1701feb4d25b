#include "tools/admin/AdminContext.h"

#include "core/IniFile.h"

namespace carvendo::admin {

namespace {

core::Paths withDataOverride(core::Paths paths, const CommandLine& line)
{
    return line.has(QStringLiteral("data"))
               ? core::Paths(line.value(QStringLiteral("data")), paths.installDir())
               : std::move(paths);
}

} // namespace

AdminContext::AdminContext(core::Paths paths, const CommandLine& line, const core::Clock& clock,
                           QTextStream& out, QTextStream& err)
    : m_paths(withDataOverride(std::move(paths), line)), m_clock(clock), m_out(out), m_err(err)
{
    m_directory = core::ConnectionIni(m_paths.connessioneIni()).directory();
    if (line.has(QStringLiteral("host")))
        m_directory.server = line.value(QStringLiteral("host"));
    m_directory.port = line.intValue(QStringLiteral("port"), m_directory.port);
    if (line.has(QStringLiteral("user")))
        m_directory.username = line.value(QStringLiteral("user"));
    if (line.has(QStringLiteral("password")))
        m_directory.password = line.value(QStringLiteral("password"));
    if (line.has(QStringLiteral("directory")))
        m_directory.database = line.value(QStringLiteral("directory"));
}

const core::DirectorySettings& AdminContext::directory() const
{
    if (!m_directory.isComplete())
        throw AdminFailure(
            QStringLiteral("Parametri di connessione incompleti in %1: servono server, porta, database, "
                           "username e password (o le opzioni --host, --port, --directory, --user, "
                           "--password)")
                .arg(m_paths.connessioneIni()));
    return m_directory;
}

std::unique_ptr<core::Db> AdminContext::openServer() const
{
    auto db = std::make_unique<core::Db>(directory().connection(false));
    db->open();
    return db;
}

std::unique_ptr<core::Db> AdminContext::openDirectory() const
{
    auto server = openServer();
    if (!core::CompanyDirectory::directoryExists(*server, directory().database))
        throw AdminFailure(QStringLiteral("Il database delle aziende \"%1\" non esiste sul server %2:%3")
                               .arg(directory().database, directory().server)
                               .arg(directory().port));
    server->useDatabase(directory().database);
    return server;
}

std::vector<core::CompanyRecord> AdminContext::companies(const QStringList& databaseNames)
{
    auto db = openDirectory();
    const core::Rows rows = core::CompanyDirectory(*db).list();
    std::vector<core::CompanyRecord> all;
    for (const core::Row& row : rows)
        all.push_back(core::CompanyRecord::fromRow(row));

    std::vector<core::CompanyRecord> chosen;
    if (databaseNames.isEmpty()) {
        for (const core::CompanyRecord& company : all) {
            if (company.databasename.trimmed().isEmpty())
                m_err << QStringLiteral("Azienda %1 senza nome del database: saltata\n").arg(company.id);
            else
                chosen.push_back(company);
        }
        return chosen;
    }
    for (const QString& name : databaseNames) {
        const auto found = std::find_if(all.begin(), all.end(), [&](const core::CompanyRecord& c) {
            return c.databasename.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (found == all.end())
            throw AdminFailure(
                QStringLiteral("Nessuna azienda con il database \"%1\" nella lista delle aziende").arg(name));
        chosen.push_back(*found);
    }
    return chosen;
}

} // namespace carvendo::admin
