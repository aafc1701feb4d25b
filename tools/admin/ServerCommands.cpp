#include "tools/admin/ServerCommands.h"

#include "core/EmbeddedServer.h"

namespace carvendo::admin {

namespace {

core::EmbeddedServer::Options serverOptions(const AdminContext& context)
{
    return core::EmbeddedServer::Options{context.paths().serverDir()};
}

void requireNoArguments(const CommandLine& line)
{
    if (!line.arguments().isEmpty())
        throw UsageError(QStringLiteral("%1 non vuole argomenti").arg(line.command()));
}

} // namespace

QString StartServerCommand::synopsis() const
{
    return QStringLiteral("start-server                   avvia il server integrato di questa postazione");
}

int StartServerCommand::run(AdminContext& context, const CommandLine& line)
{
    requireNoArguments(line);
    const core::DirectorySettings& directory = context.directory();
    if (!core::EmbeddedServer::isThisMachine(directory.server))
        throw AdminFailure(
            QStringLiteral("Il server %1 non è questa postazione: il server integrato si avvia solo qui")
                .arg(directory.server));
    if (core::EmbeddedServer::answers(directory.connection(false))) {
        context.out() << QStringLiteral("Il server risponde già sulla porta %1\n").arg(directory.port);
        return 0;
    }
    core::EmbeddedServer server(serverOptions(context));
    server.start(directory);
    server.keepRunning();
    context.out() << QStringLiteral("Server avviato sulla porta %1 (dati in %2)\n")
                         .arg(directory.port)
                         .arg(context.paths().serverDir());
    return 0;
}

QString StopServerCommand::synopsis() const
{
    return QStringLiteral("stop-server                    ferma il server integrato di questa postazione");
}

int StopServerCommand::run(AdminContext& context, const CommandLine& line)
{
    requireNoArguments(line);
    core::LocalServer server = core::EmbeddedServer(serverOptions(context)).serverFor(context.directory());
    if (!server.isRunning()) {
        context.out() << QStringLiteral("Il server integrato non è in esecuzione\n");
        return 0;
    }
    server.stop();
    context.out() << QStringLiteral("Server fermato\n");
    return 0;
}

} // namespace carvendo::admin
