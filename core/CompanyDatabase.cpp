#include "core/CompanyDatabase.h"

#include "core/SqlText.h"

namespace carvendo::core {

namespace {

void requireDatabaseName(const QString& name)
{
    if (!isPlainIdentifier(name))
        throw DbError(
            QStringLiteral("Nome di database non valido: \"%1\". Usare solo lettere, cifre e \"_\".")
                .arg(name));
}

} // namespace

void createCompanyDatabase(Db& server, const QString& name, const QString& templatePath,
                           const std::function<void(int, int)>& progress)
{
    requireDatabaseName(name);
    server.execDirect(
        QStringLiteral("CREATE DATABASE `%1` CHARACTER SET latin1 COLLATE latin1_swedish_ci").arg(name));
    try {
        server.useDatabase(name);
        server.runScriptFile(templatePath, progress);
    } catch (...) {
        try {
            dropDatabase(server, name);
        } catch (const DbError&) {
            // the original failure is the one worth reporting
        }
        throw;
    }
}

void dropDatabase(Db& server, const QString& name)
{
    requireDatabaseName(name);
    server.execDirect(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(name));
}

} // namespace carvendo::core
