#include "core/EmbeddedServer.h"

#include "core/CompanyDirectory.h"
#include "core/Connections.h"
#include "core/Paths.h"
#include "core/Session.h"
#include "foundation/ImpostazioniServer.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"

#include <QFileInfo>
#include <QSysInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace carvendo::core;
using namespace carvendo::foundation;
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
    const Case cases[] = {{" LocalHost ", true},
                          {"::1", true},
                          {"192.168.1.10", false},
                          {"", false},
                          {"localhost.example", false}};
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
        EXPECT_TRUE(dialogs.events().empty());

        ASSERT_TRUE(embedded.startedHere());
        EXPECT_TRUE(embedded.lastStartInitialised());
        EXPECT_TRUE(EmbeddedServer::answers(directory.connection(false)));
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
    try {
        embedded.start({"localhost", 0, "aziende", "root", "480117", "CLIENT/SERVER"});
        ADD_FAILURE() << "started without a port";
    } catch (const LocalServerError& e) {
        EXPECT_EQ(e.message(), "Porta del server non valida: 0");
    }
    try {
        embedded.start({"localhost", 3307, "aziende", "root", "", "CLIENT/SERVER"});
        ADD_FAILURE() << "started without a password";
    } catch (const LocalServerError& e) {
        EXPECT_EQ(e.message(), "Impostare la password del server prima di avviarlo");
    }
    EXPECT_FALSE(embedded.startedHere());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("mysql"))));
}

} // namespace
