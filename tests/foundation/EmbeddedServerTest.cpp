#include "core/EmbeddedServer.h"

#include "core/CompanyDatabase.h"
#include "core/CompanyDirectory.h"
#include "core/Connections.h"
#include "core/Paths.h"
#include "core/Session.h"
#include "foundation/ImpostazioniServer.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestFiles.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSysInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace carvendo::core;
using namespace carvendo::foundation;
using carvendo::testing::errorOf;
using carvendo::testing::ScriptedDialogs;
using carvendo::testing::serverSettings;

namespace {

TEST(EmbeddedServerPolicy, ThisMachineIsLocalhostLoopbackOrItsOwnName)
{
    struct Case
    {
        QString host;
        bool local;
    };
    const Case cases[] = {{" LocalHost ", true}, {"::1", true}, {"", false}, {"localhost.example", false}};
    for (const Case& c : cases)
        EXPECT_EQ(EmbeddedServer::isThisMachine(c.host), c.local) << c.host.toStdString();
    const QString own = QSysInfo::machineHostName();
    if (!own.isEmpty()) {
        EXPECT_TRUE(EmbeddedServer::isThisMachine(own.toUpper()));
    }
}

TEST(EmbeddedServerPolicy, AServerAnswersEvenWhenItRefusesTheAccount)
{
    ConnectionSettings test = serverSettings();
    test.password = QStringLiteral("sbagliata");
    EXPECT_TRUE(EmbeddedServer::answers(test));
    ConnectionSettings nobody;
    nobody.host = QStringLiteral("127.0.0.1");
    nobody.port = LocalServer::findFreePort();
    EXPECT_FALSE(EmbeddedServer::answers(nobody));
}

TEST(EmbeddedServerPolicy, NeededOnlyForAClientServerWhoseLocalServerIsSilent)
{
    const int silentPort = LocalServer::findFreePort();
    const ConnectionSettings test = serverSettings();
    struct Case
    {
        const char* what;
        DirectorySettings directory;
        bool needed;
    };
    const Case cases[] = {
        {"silent local", {"127.0.0.1", silentPort, "aziende", "root", "480117", "CLIENT/SERVER"}, true},
        {"a client", {"127.0.0.1", silentPort, "aziende", "root", "480117", "CLIENT"}, false},
        {"another machine",
         {"nessuno.invalid", silentPort, "aziende", "root", "480117", "CLIENT/SERVER"},
         false},
        {"already answering",
         {test.host, test.port, "aziende", test.user, test.password, "CLIENT/SERVER"},
         false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EmbeddedServer::isNeeded(c.directory), c.needed) << c.what;
}

// A workstation serves the shop's network only when its settings say so, and never with the password
// every installation starts with.
TEST(EmbeddedServerPolicy, TheNetworkIsServedOnlyWhenSharedAndNeverWithTheDefaultPassword)
{
    QTemporaryDir dir;
    EmbeddedServer embedded(EmbeddedServer::Options{dir.filePath(QStringLiteral("mysql")), false, true});
    DirectorySettings directory{"localhost",    LocalServer::findFreePort(), "aziende", "root", "480117",
                                "CLIENT/SERVER"};
    EXPECT_FALSE(embedded.serverFor(directory).config().lanAccess) << "not shared unless set";
    directory.shareOnNetwork = true;
    EXPECT_EQ(errorOf([&] { embedded.start(directory); }),
              "Per condividere il server in rete impostare una password diversa da quella predefinita");
    EXPECT_FALSE(embedded.startedHere());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("mysql"))));
}

// The shop's account reaches from the network the directory, the companies it lists and the names
// offered for new ones; a name that is not a plain identifier never reaches a statement.
TEST(EmbeddedServerPolicy, SharedDatabasesAreTheDirectoryItsCompaniesAndTheNamesForNewOnes)
{
    auto server = carvendo::testing::connectToServer();
    const QString name = QStringLiteral("dir_shared_%1").arg(QCoreApplication::applicationPid());
    EXPECT_EQ(EmbeddedServer::sharedDatabases(*server, name),
              (QStringList{name, "gestionale", "gestionale1", "gestionale2"}))
        << "no directory yet";
    CompanyDirectory::createDirectoryDatabase(*server, name);
    server->useDatabase(name);
    server->exec(QStringLiteral("INSERT INTO aziende (ragionesociale, databasename) VALUES ('Negozio B', "
                                "'negozio_b'), ('Sede', 'gestionale'), ('Nome strano', 'x`; DROP')"));
    EXPECT_EQ(EmbeddedServer::sharedDatabases(*server, name),
              (QStringList{name, "gestionale", "gestionale1", "gestionale2", "negozio_b"}));
    dropDatabase(*server, name);
}

// Shared, the server listens on the network, where the shop's account may reach those databases
// and nothing else: no server-wide right, no granting.
TEST(EmbeddedServerLifecycle, ASharedServerListensOnTheNetworkForTheShopsDatabasesOnly)
{
    QTemporaryDir dir;
    const DirectorySettings directory{
        "localhost", LocalServer::findFreePort(), "aziende", "cassa", "pw-negozio", "CLIENT/SERVER", true};
    EmbeddedServer embedded(EmbeddedServer::Options{dir.filePath(QStringLiteral("mysql")), false, true});
    embedded.start(directory);
    Db root(embedded.serverFor(directory).rootSettings());
    root.open();
    EXPECT_EQ(root.scalar(QStringLiteral("SELECT @@bind_address")).toString(), QStringLiteral("0.0.0.0"));
    EXPECT_EQ(root.scalar(QStringLiteral("SELECT GROUP_CONCAT(CONCAT(user, ':', Grant_priv, Select_priv, "
                                         "Super_priv)) FROM mysql.user WHERE host = '%'"))
                  .toString(),
              QStringLiteral("cassa:NNN"));
    EXPECT_EQ(root.scalar(QStringLiteral("SELECT GROUP_CONCAT(Db ORDER BY Db) FROM mysql.db WHERE user = "
                                         "'cassa' AND host = '%'"))
                  .toString(),
              QStringLiteral("aziende,gestionale,gestionale1,gestionale2"));
    root.close();
    embedded.stopIfStarted();
}

// The first start of a new workstation: the server window's "Salva" with the defaults finds nothing
// on this machine, starts the embedded server (initialising it with the password), and creates the
// directory; the server goes when the program ends. One real server start, so one test.
TEST(EmbeddedServerLifecycle, FirstSaveStartsTheServerCreatesTheDirectoryAndStopsAtTheEnd)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const Paths paths(dir.path(), dir.path());
    const int port = LocalServer::findFreePort();
    const DirectorySettings directory{"localhost", port, "aziende", "root", "480117", "CLIENT/SERVER"};

    Connections connections;
    Session session;
    ScriptedDialogs dialogs;
    {
        EmbeddedServer embedded(EmbeddedServer::Options{paths.serverDir(), false, false});
        ImpostazioniServer logic(paths, connections, session, embedded, dialogs);
        logic.setPort(QString::number(port));
        ASSERT_TRUE(logic.save()) << dialogs.lastText().toStdString();

        ASSERT_TRUE(embedded.startedHere());
        EXPECT_TRUE(embedded.lastStartInitialised());
        EXPECT_EQ(CompanyDirectory(connections.directory()).count(), 0);

        // Someone else's running server (here: the one just started) is never counted as ours.
        EmbeddedServer second(EmbeddedServer::Options{paths.serverDir(), false, false});
        second.start(directory);
        EXPECT_FALSE(second.startedHere());
        EXPECT_FALSE(EmbeddedServer::isNeeded(directory));
    } // the program ends: the first object stops what it started, the second leaves it alone
    EXPECT_FALSE(EmbeddedServer::answers(directory.connection(false)));

    // The next start finds the initialised folder and only starts it, with the same password.
    EmbeddedServer again(EmbeddedServer::Options{paths.serverDir(), false, false});
    EXPECT_TRUE(again.startIfNeeded(directory));
    EXPECT_FALSE(again.lastStartInitialised());
    Db db(directory.connection());
    db.open();
    EXPECT_EQ(CompanyDirectory(db).count(), 0);
    db.close();
    again.stopIfStarted();
    EXPECT_FALSE(EmbeddedServer::answers(directory.connection(false)));
}

TEST(EmbeddedServerLifecycle, RefusesToStartWithoutAPortOrAPassword)
{
    QTemporaryDir dir;
    EmbeddedServer embedded(EmbeddedServer::Options{dir.filePath(QStringLiteral("mysql")), false, false});
    EXPECT_EQ(errorOf([&] {
                  embedded.start({"localhost", 0, "aziende", "root", "480117", "CLIENT/SERVER"});
              }),
              "Porta del server non valida: 0");
    EXPECT_EQ(errorOf([&] {
                  embedded.start({"localhost", 3307, "aziende", "root", "", "CLIENT/SERVER"});
              }),
              "Impostare la password del server prima di avviarlo");
    EXPECT_FALSE(embedded.startedHere());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("mysql"))));
}

} // namespace
