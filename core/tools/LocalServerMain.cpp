// carvendo-localserver: starts and stops a private MariaDB server in a folder.
//   carvendo-localserver start FOLDER PORT|auto PASSWORD [--fast]   prints the port it listens on
//   carvendo-localserver stop FOLDER
#include "core/LocalServer.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

using carvendo::core::LocalServer;
using carvendo::core::LocalServerConfig;
using carvendo::core::LocalServerError;

namespace {

int usage()
{
    QTextStream(stderr) << "uso: carvendo-localserver start CARTELLA PORTA|auto PASSWORD [--fast]\n"
                           "     carvendo-localserver stop CARTELLA\n";
    return 2;
}

int readSavedPort(const QString& folder)
{
    QFile file(folder + QStringLiteral("/port"));
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toInt() : 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2)
        return usage();
    LocalServerConfig config;
    config.folder = args[1];
    try {
        if (args[0] == u"start" && args.size() >= 4) {
            config.port = args[2] == u"auto" ? LocalServer::findFreePort() : args[2].toInt();
            config.rootPassword = args[3];
            config.durable = !args.contains(QStringLiteral("--fast"));
            LocalServer server(config);
            server.start();
            QFile file(server.config().folder + QStringLiteral("/port"));
            if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
                file.write(QByteArray::number(config.port));
            QTextStream(stdout) << config.port << '\n';
            return 0;
        }
        if (args[0] == u"stop") {
            config.port = readSavedPort(config.folder);
            LocalServer(config).stop();
            return 0;
        }
    } catch (const LocalServerError& e) {
        QTextStream(stderr) << e.message() << '\n';
        return 1;
    }
    return usage();
}
