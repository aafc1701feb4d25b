#include "demo/DemoCompany.h"

#include "demo/DemoShop.h"

#include "core/CompanyDatabase.h"
#include "core/CompanyDirectory.h"
#include "core/Paths.h"

namespace carvendo::demo {

int DemoCompany::prepare(const core::Paths& paths, const core::DirectorySettings& directory)
{
    core::Db server(directory.connection(false));
    server.open();
    core::CompanyDirectory::ensureDirectoryDatabase(server, directory.database);
    server.useDatabase(directory.database);

    core::CompanyDirectory companies(server);
    for (const core::Row row : companies.list())
        if (row[u"databasename"].toString() == QLatin1String(DatabaseName))
            return row[u"id"].toInt();

    core::Db maker(directory.connection(false));
    maker.open();
    core::createCompanyDatabase(maker, QString::fromLatin1(DatabaseName), paths.dbTemplate());
    DemoShop::fill(maker, paths);

    core::CompanyRecord record;
    record.ragionesociale = QString::fromLatin1(Name);
    record.indirizzo = QStringLiteral("Via Roma 1");
    record.citta = QStringLiteral("Milano");
    record.cap = QStringLiteral("20121");
    record.host = directory.server;
    record.porta = directory.port;
    record.username = directory.username;
    record.password = directory.password;
    record.databasename = QString::fromLatin1(DatabaseName);
    return companies.save(record);
}

} // namespace carvendo::demo
