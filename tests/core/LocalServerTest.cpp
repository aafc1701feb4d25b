// The private server of a workstation: first start with the shop's account, and what it listens on.
// Sharing on the network is tested through EmbeddedServer.
#include "core/LocalServer.h"

#include "tests/support/QtPrinters.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace carvendo::core;

namespace {

// An unshared server: the accounts are made on this machine only, and any account left open to the
// network is removed at the next start.
TEST(LocalServer, FirstStartMakesTheShopAccountAndAnotherStartReusesIt)
{
    QTemporaryDir folder;
    LocalServerConfig config;
    config.folder = folder.path();
    config.port = LocalServer::findFreePort();
    config.rootPassword = QStringLiteral("pw'480117");
    config.user = QStringLiteral("cassa");
    config.durable = false;
    LocalServer server(config);
    ASSERT_FALSE(server.isInitialised());
    server.start();

    ConnectionSettings shop = server.rootSettings();
    shop.user = QStringLiteral("cassa");
    Db asShop(shop);
    asShop.open();
    EXPECT_EQ(asShop.scalar(QStringLiteral("SELECT @@lower_case_table_names")).toInt(), 1);
    EXPECT_EQ(asShop.scalar(QStringLiteral("SELECT @@tmpdir")).toString(),
              folder.path() + QStringLiteral("/tmp"))
        << "temporary tables stay in the server's folder, out of reach of the system's cleaners";
    Db asRoot(server.rootSettings());
    asRoot.open();
    const QString networkAccounts = QStringLiteral("SELECT COUNT(*) FROM mysql.user WHERE host = '%'");
    EXPECT_EQ(asRoot.scalar(networkAccounts).toInt(), 0) << "a server not shared is not open to the network";
    // What earlier versions made: root reachable from anywhere with every right.
    asRoot.execDirect(QStringLiteral("CREATE USER root@'%' IDENTIFIED BY 'pw''480117'"));
    asRoot.execDirect(QStringLiteral("GRANT ALL ON *.* TO root@'%' WITH GRANT OPTION"));
    asRoot.close();

    server.stop();
    server.start(); // already initialised: starts at once with the same accounts
    Db again(shop);
    again.open();
    EXPECT_EQ(again.scalar(networkAccounts).toInt(), 0) << "every start closes what is open to the network";
    again.close();
    server.stop();

    QFile cnf(folder.path() + QStringLiteral("/my.cnf"));
    ASSERT_TRUE(cnf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(cnf.readAll().contains("bind-address=127.0.0.1"));
}

} // namespace
