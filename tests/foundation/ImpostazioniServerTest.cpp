#include "foundation/ImpostazioniServer.h"

#include "core/CompanyDatabase.h"
#include "core/CompanyDirectory.h"
#include "core/Connections.h"
#include "core/EmbeddedServer.h"
#include "core/IniFile.h"
#include "core/Paths.h"
#include "core/Session.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestFiles.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace carvendo::core;
using namespace carvendo::foundation;
using carvendo::testing::connectToServer;
using carvendo::testing::ScriptedDialogs;
using carvendo::testing::serverSettings;
using carvendo::testing::writeFile;
using Fields = ImpostazioniServer::Fields;

namespace {

class ImpostazioniServerTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        if (!m_directoryName.isEmpty())
            dropDatabase(*connectToServer(), m_directoryName);
    }

    std::unique_ptr<ImpostazioniServer> window()
    {
        return std::make_unique<ImpostazioniServer>(m_paths, m_connections, m_session, m_embedded, m_dialogs,
                                                    [this](const QString& label, const LongJob& job) {
                                                        m_longWorkLabels << label;
                                                        runHere(label, job);
                                                    });
    }

    // The test server, with a directory database name of this test's own.
    Fields testServerFields(const QString& machineType)
    {
        m_directoryName = QStringLiteral("dir_%1").arg(QCoreApplication::applicationPid());
        const ConnectionSettings s = serverSettings();
        return Fields{s.host, QString::number(s.port), m_directoryName, s.user, s.password, machineType};
    }

    QByteArray connessioneBytes() const { return carvendo::testing::readFile(m_paths.connessioneIni()); }

    QTemporaryDir m_dir;
    Paths m_paths{m_dir.path(), m_dir.path()};
    Connections m_connections;
    Session m_session{MachineType::ClientServer};
    EmbeddedServer m_embedded{EmbeddedServer::Options{m_dir.filePath(QStringLiteral("mysql")), false, false}};
    ScriptedDialogs m_dialogs;
    QStringList m_longWorkLabels;
    QString m_directoryName;
};

// Each case breaks one field more than the next, so only the first failing check may speak.
TEST_F(ImpostazioniServerTest, SaveChecksTheFieldsInOrderAndWritesNothingOnFailure)
{
    struct Case
    {
        Fields fields;
        QString message;
    };
    const Case cases[] = {
        {{"  ", "3307", "aziende", "root", "480117", "CLIENT"}, "Impostare nome server"},
        {{"localhost", "0", "", "", "", ""}, "Impostare nome database"},
        {{"localhost", "0", "aziende", "", "", ""}, "Impostare numero porta"},
        {{"localhost", "70000", "aziende", "root", "480117", "CLIENT"},
         "Numero porta non valido: inserire un numero intero da 1 a 65535"},
        {{"localhost", "3307", "aziende", "", "", ""}, "Impostare username"},
        {{"localhost", "3307", "aziende", "root", "", ""}, "Impostare password"},
        {{"localhost", "3307", "aziende", "root", "480117", "SERVER"}, "Specificare tipo di macchina"},
        {{"localhost", "3307", "aziende-2", "root", "480117", "CLIENT/SERVER"},
         "Nome database non valido: usare solo lettere, cifre e \"_\""},
        {{"localhost", "3307", "aziende", "root", "480117", "CLIENT/SERVER", true},
         "Per condividere il server in rete impostare una password diversa da quella predefinita"},
    };
    const QByteArray before = "[PARAMETRI CONNESSIONE SERVER LOCALE]\r\nSERVER_AZ=server01\r\n";
    writeFile(m_paths.connessioneIni(), before);
    for (const Case& c : cases) {
        m_dialogs.clear();
        auto logic = window();
        logic->setFields(c.fields);
        EXPECT_FALSE(logic->save()) << c.message.toStdString();
        EXPECT_EQ(m_dialogs.texts(carvendo::testing::DialogEvent::Kind::Information), QStringList{c.message});
        EXPECT_EQ(connessioneBytes(), before);
    }
    EXPECT_TRUE(m_longWorkLabels.isEmpty());
}

TEST_F(ImpostazioniServerTest, SaveAsClientWritesTheKeysAndNeverCreatesTheDirectory)
{
    auto logic = window();
    logic->setFields(testServerFields(QStringLiteral("CLIENT")));
    ASSERT_TRUE(logic->save());

    const IniFile ini(m_paths.connessioneIni());
    EXPECT_EQ(ini.value(u"PARAMETRI CONNESSIONE SERVER LOCALE", u"DATABASE_AZ"), m_directoryName);
    EXPECT_EQ(m_connections.directorySettings().database, m_directoryName);
    EXPECT_EQ(m_session.machineType(), MachineType::Client);

    EXPECT_FALSE(CompanyDirectory::directoryExists(*connectToServer(), m_directoryName));
    EXPECT_TRUE(m_longWorkLabels.isEmpty());
}

TEST_F(ImpostazioniServerTest, SaveAsClientServerCreatesTheMissingDirectoryAndKeepsAnExistingOne)
{
    const Fields fields = testServerFields(QStringLiteral("CLIENT/SERVER"));
    auto logic = window();
    logic->setFields(fields);
    ASSERT_TRUE(logic->save());
    EXPECT_EQ(m_longWorkLabels, QStringList{"Preparazione del database delle aziende..."});
    EXPECT_FALSE(m_embedded.startedHere()); // the server answered
    EXPECT_EQ(CompanyDirectory(m_connections.directory()).count(), 0) << "the new, empty directory";

    CompanyDirectory(m_connections.directory()).addNewCompany();
    auto again = window();
    again->setFields(fields);
    ASSERT_TRUE(again->save());
    EXPECT_EQ(CompanyDirectory(m_connections.directory()).count(), 1);
}

// The server is asked before anything is written: the file stays byte for byte as it was, and the
// window keeps what was typed for the operator to correct.
TEST_F(ImpostazioniServerTest, UnreachableServerIsReportedAndTheFileIsLeftAsItWas)
{
    const QByteArray before = "[PARAMETRI CONNESSIONE SERVER LOCALE]\r\nSERVER_AZ=server01\r\n";
    writeFile(m_paths.connessioneIni(), before);
    auto logic = window();
    const Fields typed{"nessuno.invalid", "3307", "aziende", "root", "480117", "CLIENT/SERVER"};
    logic->setFields(typed);
    EXPECT_FALSE(logic->save());
    const QStringList errors = m_dialogs.texts(carvendo::testing::DialogEvent::Kind::Error);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(connessioneBytes(), before);
    EXPECT_EQ(logic->fields(), typed);
    EXPECT_FALSE(m_embedded.startedHere());
}

} // namespace
