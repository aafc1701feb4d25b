// The private server of a workstation: first start with the shop's account, and what it listens on.
#include "core/LocalServer.h"

#include "tests/support/QtPrinters.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace carvendo::core;

namespace {

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
    EXPECT_TRUE(server.isInitialised());
    EXPECT_TRUE(server.isRunning());

    ConnectionSettings shop = server.rootSettings();
    shop.user = QStringLiteral("cassa");
    Db asShop(shop);
    asShop.open();
    EXPECT_EQ(asShop.scalar(QStringLiteral("SELECT @@lower_case_table_names")).toInt(), 1);
    Db asRoot(server.rootSettings());
    asRoot.open();
    EXPECT_EQ(
        asRoot.scalar(QStringLiteral("SELECT COUNT(*) FROM mysql.user WHERE user = 'cassa' AND host = '%'"))
            .toInt(),
        0)
        << "a test server is not open to the network";

    server.stop();
    EXPECT_FALSE(server.isRunning());
    server.start(); // already initialised: starts at once with the same accounts
    Db again(shop);
    again.open();
    server.stop();

    QFile cnf(folder.path() + QStringLiteral("/my.cnf"));
    ASSERT_TRUE(cnf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(cnf.readAll().contains("bind-address=127.0.0.1"));
}

TEST(LocalServer, AShopServerListensForTheOtherWorkstations)
{
    QTemporaryDir folder;
    LocalServerConfig config;
    config.folder = folder.path();
    config.port = LocalServer::findFreePort();
    config.rootPassword = QStringLiteral("480117");
    config.lanAccess = true;
    config.durable = false;
    LocalServer server(config);
    server.start();
    Db asRoot(server.rootSettings());
    asRoot.open();
    EXPECT_EQ(asRoot.scalar(QStringLiteral("SELECT @@bind_address")).toString(), QStringLiteral("0.0.0.0"));
    EXPECT_EQ(
        asRoot.scalar(QStringLiteral("SELECT COUNT(*) FROM mysql.user WHERE user = 'root' AND host = '%'"))
            .toInt(),
        1);
    asRoot.close();
    server.stop();
}

} // namespace
