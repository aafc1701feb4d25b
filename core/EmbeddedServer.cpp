#include "core/EmbeddedServer.h"

#include "core/CompanyDirectory.h"
#include "core/Session.h"
#include "core/SqlText.h"

#include <QElapsedTimer>
#include <QSysInfo>

namespace carvendo::core {

namespace {

// Client-side errors (2000 and up) mean nobody answered; a server error (wrong password, unknown
// database) means somebody did.
constexpr unsigned FirstClientError = 2000;

} // namespace

EmbeddedServer::EmbeddedServer(Options options) : m_options(std::move(options)) {}

EmbeddedServer::~EmbeddedServer()
{
    try {
        stopIfStarted();
    } catch (const std::exception&) {
        // the program is ending; a server that would not stop is left to the next start
    }
}

bool EmbeddedServer::isThisMachine(const QString& host)
{
    const QString h = host.trimmed();
    if (h.compare(u"localhost", Qt::CaseInsensitive) == 0 || h == u"127.0.0.1" || h == u"::1" ||
        h == u"[::1]")
        return true;
    const QString machine = QSysInfo::machineHostName();
    if (machine.isEmpty())
        return false;
    const QString shortName = machine.section(u'.', 0, 0);
    return h.compare(machine, Qt::CaseInsensitive) == 0 || h.compare(shortName, Qt::CaseInsensitive) == 0;
}

bool EmbeddedServer::answers(const ConnectionSettings& settings)
{
    ConnectionSettings probe = settings;
    probe.database.clear();
    probe.connectTimeoutSeconds = 2;
    try {
        Db db(probe);
        db.open();
        return true;
    } catch (const DbError& e) {
        return e.errorCode() != 0 && e.errorCode() < FirstClientError;
    }
}

bool EmbeddedServer::isNeeded(const DirectorySettings& directory)
{
    return machineTypeFromText(directory.machineType) == MachineType::ClientServer &&
           isThisMachine(directory.server) && directory.port > 0 && !answers(directory.connection(false));
}

bool EmbeddedServer::hasDefaultPassword(const DirectorySettings& directory)
{
    return directory.password == DirectorySettings::defaults().password;
}

QString EmbeddedServer::defaultPasswordRefusal()
{
    return QStringLiteral(
        "Per condividere il server in rete impostare una password diversa da quella predefinita");
}

QStringList EmbeddedServer::sharedDatabases(Db& server, const QString& directoryDatabase)
{
    QStringList names{directoryDatabase};
    for (int companies = 0; !CompanyDirectory::proposedDatabaseName(companies).isEmpty(); ++companies)
        names << CompanyDirectory::proposedDatabaseName(companies);
    if (CompanyDirectory::directoryExists(server, directoryDatabase)) {
        server.useDatabase(directoryDatabase);
        for (const Row row : CompanyDirectory(server).list())
            names << row[u"databasename"].toString().trimmed();
    }
    names.removeIf([](const QString& name) { return !isPlainIdentifier(name); });
    names.removeDuplicates();
    return names;
}

bool EmbeddedServer::sharesOnNetwork(const DirectorySettings& directory) const
{
    return m_options.lanAccess && directory.shareOnNetwork;
}

bool EmbeddedServer::startIfNeeded(const DirectorySettings& directory)
{
    if (!isNeeded(directory))
        return false;
    start(directory);
    return true;
}

LocalServer EmbeddedServer::serverFor(const DirectorySettings& directory) const
{
    LocalServerConfig config;
    config.folder = m_options.folder;
    config.port = directory.port;
    config.rootPassword = directory.password;
    config.user = directory.username;
    config.lanAccess = sharesOnNetwork(directory);
    config.durable = m_options.durable;
    if (!m_options.serverProgram.isEmpty())
        config.serverProgram = m_options.serverProgram;
    if (!m_options.installProgram.isEmpty())
        config.installProgram = m_options.installProgram;
    return LocalServer(config);
}

void EmbeddedServer::start(const DirectorySettings& directory)
{
    if (directory.port <= 0 || directory.port > 65535)
        throw LocalServerError(QStringLiteral("Porta del server non valida: %1").arg(directory.port));
    if (directory.password.isEmpty())
        throw LocalServerError(QStringLiteral("Impostare la password del server prima di avviarlo"));
    if (sharesOnNetwork(directory) && hasDefaultPassword(directory))
        throw LocalServerError(defaultPasswordRefusal());
    auto server = std::make_unique<LocalServer>(serverFor(directory));
    if (server->isRunning()) // left running by another program or run: not ours to stop
        return;
    QElapsedTimer timer;
    timer.start();
    const bool initialising = !server->isInitialised();
    server->start();
    if (sharesOnNetwork(directory)) {
        try {
            Db root(server->rootSettings());
            root.open();
            server->openNetworkAccess(sharedDatabases(root, directory.database));
        } catch (...) {
            server->stop(); // not left open to the network half-configured
            throw;
        }
    }
    m_lastStartMs = timer.elapsed();
    m_lastStartInitialised = initialising;
    m_server = std::move(server);
    m_started = true;
}

void EmbeddedServer::keepRunning()
{
    m_started = false;
}

void EmbeddedServer::stopIfStarted()
{
    if (!m_started || !m_server)
        return;
    m_server->stop();
    m_started = false;
}

} // namespace carvendo::core
