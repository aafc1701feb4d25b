#include "tools/admin/AdminTool.h"

#include "core/CompanyDatabase.h"
#include "core/CompanyDirectory.h"
#include "core/ConnectionIni.h"
#include "core/EmbeddedServer.h"
#include "tests/support/FixedClock.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestDatabase.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace carvendo;
using carvendo::testing::connectToServer;
using carvendo::testing::serverSettings;

namespace {

struct Outcome
{
    int code = -1;
    QString out;
    QString err;
};

// The tool as a shop runs it: a data folder whose connessione.ini points at the test server, with a
// company directory of the test's own.
class AdminToolTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_directoryName = QStringLiteral("admin_dir_%1").arg(QCoreApplication::applicationPid());
        auto server = connectToServer();
        core::CompanyDirectory::createDirectoryDatabase(*server, s_directoryName);
    }
    static void TearDownTestSuite() { core::dropDatabase(*connectToServer(), s_directoryName); }

    void SetUp() override
    {
        const core::ConnectionSettings s = serverSettings();
        core::ConnectionIni ini(m_paths.connessioneIni());
        ini.setDirectory({s.host, s.port, s_directoryName, s.user, s.password, QStringLiteral("CLIENT")});
        ini.save();
        directory().execDirect(QStringLiteral("DELETE FROM aziende"));
    }

    void TearDown() override
    {
        auto server = connectToServer();
        for (const QString& name : m_createdDatabases)
            core::dropDatabase(*server, name);
    }

    Outcome run(const QStringList& words)
    {
        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        admin::AdminTool tool(m_paths, m_clock, outStream, errStream);
        const int code = tool.run(words);
        outStream.flush();
        errStream.flush();
        return Outcome{code, out, err};
    }

    core::Db& directory()
    {
        if (!m_directory) {
            m_directory = connectToServer();
            m_directory->useDatabase(s_directoryName);
        }
        return *m_directory;
    }

    // A database name of this test run, dropped at the end.
    QString companyName(const QString& label)
    {
        const QString name = QStringLiteral("adm_%1_%2").arg(label).arg(QCoreApplication::applicationPid());
        m_createdDatabases << name;
        return name;
    }

    QString usage() { return admin::AdminTool(m_paths, m_clock, m_nullOut, m_nullOut).usage(); }

    static inline QString s_directoryName;
    QTemporaryDir m_dir;
    // The install folder is the build tree, where data/db.sql was made.
    core::Paths m_paths{m_dir.path(), QFileInfo(carvendo::testing::companyTemplatePath()).absolutePath() +
                                          QStringLiteral("/..")};
    carvendo::testing::FixedClock m_clock{QDateTime(QDate(2024, 3, 15), QTime(10, 30, 0))};
    QString m_nullText;
    QTextStream m_nullOut{&m_nullText};
    std::unique_ptr<core::Db> m_directory;
    QStringList m_createdDatabases;
};

TEST_F(AdminToolTest, WrongCommandLinesEndWithTheUsageAndCodeTwo)
{
    struct Case
    {
        QStringList words;
        QString message;
    };
    const Case cases[] = {
        {{}, "Indicare un comando"},
        {{"frobnicate"}, "Comando sconosciuto: frobnicate"},
        {{"list-companies", "--port", "tremila"}, "L'opzione --port vuole un numero intero, non \"tremila\""},
        {{"list-companies", "extra"}, "list-companies non vuole argomenti"},
        {{"backup", "a", "b", "--file", "/tmp/x.sql"},
         "L'opzione --file vale per una sola azienda: indicarne il database"},
    };
    for (const Case& c : cases) {
        const Outcome outcome = run(c.words);
        EXPECT_EQ(outcome.code, 2) << c.words.join(u' ').toStdString();
        EXPECT_EQ(outcome.err, c.message + QStringLiteral("\n\n") + usage());
    }
}

TEST_F(AdminToolTest, OptionsOverrideTheSettingsFile)
{
    const core::ConnectionSettings s = serverSettings();
    QFile::remove(m_paths.connessioneIni());
    const Outcome incomplete = run({"list-companies"});
    EXPECT_EQ(incomplete.code, 1);
    EXPECT_EQ(incomplete.err,
              QStringLiteral("Parametri di connessione incompleti in %1: servono server, porta, database, "
                             "username e password (o le opzioni --host, --port, --directory, --user, "
                             "--password)\n")
                  .arg(m_paths.connessioneIni()));

    const Outcome outcome = run({"list-companies", "--host", s.host, QStringLiteral("--port=%1").arg(s.port),
                                 "--user", s.user, "--password", s.password, "--directory", s_directoryName});
    EXPECT_EQ(outcome.code, 0) << outcome.err.toStdString();

    const Outcome missing =
        run({"list-companies", "--host", s.host, "--port", QString::number(s.port), "--user", s.user,
             "--password", s.password, "--directory", "nessuna_directory"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.err,
              QStringLiteral("Il database delle aziende \"nessuna_directory\" non esiste sul server %1:%2\n")
                  .arg(s.host)
                  .arg(s.port));
}

TEST_F(AdminToolTest, ListCompaniesPrintsTheDirectory)
{
    core::CompanyDirectory companies(directory());
    core::CompanyRecord rossi;
    rossi.ragionesociale = QStringLiteral("Telefonia Rossi");
    rossi.host = QStringLiteral("localhost");
    rossi.porta = 3307;
    rossi.databasename = QStringLiteral("gestionale");
    rossi.lastaccess = QDateTime(QDate(2024, 2, 1), QTime(18, 5));
    const int first = companies.save(rossi);
    core::CompanyRecord blank;
    const int second = companies.save(blank);

    const Outcome outcome = run({"list-companies"});
    EXPECT_EQ(outcome.code, 0);
    EXPECT_EQ(outcome.out,
              QStringLiteral("id\tragionesociale\tdatabasename\thost\tporta\tultimo accesso\n"
                             "%1\tTelefonia Rossi\tgestionale\tlocalhost\t3307\t01/02/2024 18:05\n"
                             "%2\t\t\t\t0\t\n")
                  .arg(first)
                  .arg(second));
}

TEST_F(AdminToolTest, CreateCompanyMakesTheDatabaseAndItsRow)
{
    const QString name = companyName(QStringLiteral("nuova"));
    const Outcome outcome = run({"create-company", name, "--ragione-sociale", "Telefonia Bianchi"});
    ASSERT_EQ(outcome.code, 0) << outcome.err.toStdString();
    const core::Rows rows = core::CompanyDirectory(directory()).list();
    ASSERT_EQ(rows.size(), 1);
    const core::CompanyRecord row = core::CompanyRecord::fromRow(rows.first());
    EXPECT_EQ(outcome.out, QStringLiteral("Azienda creata: database %1, id %2\n").arg(name).arg(row.id));

    EXPECT_EQ(row.lastaccess, QDateTime(QDate(2024, 3, 15), QTime(10, 30)));

    core::Db company(row.connection());
    company.open();
    EXPECT_EQ(company.scalar(QStringLiteral("select VersioneDB from versione")).toString(), "6.1.10");

    // The same name again, in the list or only on the server, is refused and changes nothing.
    const Outcome again = run({"create-company", name});
    EXPECT_EQ(again.code, 1);
    EXPECT_EQ(again.err, QStringLiteral("Il database \"%1\" è già nella lista delle aziende\n").arg(name));
    directory().execDirect(QStringLiteral("DELETE FROM aziende"));
    const Outcome onServer = run({"create-company", name});
    EXPECT_EQ(onServer.code, 1);
    EXPECT_EQ(onServer.err, QStringLiteral("Il database \"%1\" esiste già sul server\n").arg(name));
    EXPECT_EQ(company.scalar(QStringLiteral("select count(*) from versione")).toInt(), 1);

    const Outcome badName = run({"create-company", "ditta-nuova"});
    EXPECT_EQ(badName.code, 1);
    EXPECT_EQ(badName.err,
              "Nome di database non valido: \"ditta-nuova\". Usare solo lettere, cifre e \"_\".\n");
    EXPECT_EQ(core::CompanyDirectory(directory()).count(), 0);
}

TEST_F(AdminToolTest, CreateCompanyOnAClientServerMakesAMissingDirectory)
{
    const core::ConnectionSettings s = serverSettings();
    const QString directoryName = companyName(QStringLiteral("dir"));
    core::ConnectionIni ini(m_paths.connessioneIni());
    ini.setDirectory({s.host, s.port, directoryName, s.user, s.password, QStringLiteral("CLIENT/SERVER")});
    ini.save();
    const QString name = companyName(QStringLiteral("cs"));
    const Outcome outcome = run({"create-company", name});
    ASSERT_EQ(outcome.code, 0) << outcome.err.toStdString();
    auto server = connectToServer();
    server->useDatabase(directoryName);
    EXPECT_EQ(core::CompanyDirectory(*server).count(), 1);
}

TEST_F(AdminToolTest, UpgradeBringsEveryCompanyToTheProgramVersion)
{
    const QString current = companyName(QStringLiteral("attuale"));
    const QString old = companyName(QStringLiteral("vecchia"));
    ASSERT_EQ(run({"create-company", current}).code, 0);
    ASSERT_EQ(run({"create-company", old}).code, 0);
    {
        auto server = connectToServer();
        server->useDatabase(old);
        server->execDirect(QStringLiteral("UPDATE versione SET VersioneDB = '5.2.4'"));
    }
    const Outcome outcome = run({"upgrade"});
    EXPECT_EQ(outcome.code, 0) << outcome.err.toStdString();
    EXPECT_EQ(outcome.out,
              QStringLiteral("%1: già alla versione 6.1.10\n%2: aggiornato alla versione 6.1.10\n")
                  .arg(current, old));
    auto server = connectToServer();
    server->useDatabase(old);
    EXPECT_EQ(server->scalar(QStringLiteral("select VersioneDB from versione")).toString(), "6.1.10");

    // A company that fails, or has no database, is told and the others are still done.
    core::CompanyRecord missing =
        core::CompanyRecord::fromRow(core::CompanyDirectory(directory()).list().first());
    missing.id = 0;
    missing.databasename = QStringLiteral("adm_non_esiste");
    core::CompanyDirectory(directory()).save(missing);
    const int unnamedId = core::CompanyDirectory(directory()).save(core::CompanyRecord{});
    const Outcome failing = run({"upgrade"});
    EXPECT_EQ(failing.code, 1);
    EXPECT_EQ(
        failing.out,
        QStringLiteral("%1: già alla versione 6.1.10\n%2: già alla versione 6.1.10\n").arg(current, old));
    EXPECT_TRUE(failing.err.startsWith(QStringLiteral("Azienda %1 senza nome del database: saltata\n"
                                                      "adm_non_esiste: aggiornamento non riuscito: ")
                                           .arg(unnamedId)))
        << failing.err.toStdString();
    EXPECT_EQ(run({"upgrade", "zzz"}).err,
              "Nessuna azienda con il database \"zzz\" nella lista delle aziende\n");
}

TEST_F(AdminToolTest, BackupWritesADatedFileAndRestoreBringsTheDataBack)
{
    const QString name = companyName(QStringLiteral("salva"));
    ASSERT_EQ(run({"create-company", name}).code, 0);
    auto company = connectToServer();
    company->useDatabase(name);
    company->execDirect(QStringLiteral("INSERT INTO magazzini (descrizione) VALUES ('NEGOZIO CENTRO')"));
    const int before = company->scalar(QStringLiteral("select count(*) from magazzini")).toInt();

    const Outcome backup = run({"backup"});
    ASSERT_EQ(backup.code, 0) << backup.err.toStdString();
    const QString file = m_paths.backupDir() + QStringLiteral("/%1_2024-03-15_103000.sql").arg(name);
    EXPECT_EQ(backup.out, file + u'\n');

    company->execDirect(QStringLiteral("DELETE FROM magazzini"));

    const Outcome unconfirmed = run({"restore", name, file});
    EXPECT_EQ(unconfirmed.code, 2);
    EXPECT_TRUE(unconfirmed.err.startsWith(
        QStringLiteral(
            "Attenzione, tutti i dati verranno sovrascritti! Ripetere il comando con --conferma per "
            "eseguire il restore del database %1.\n")
            .arg(name)));
    EXPECT_EQ(company->scalar(QStringLiteral("select count(*) from magazzini")).toInt(), 0);

    const Outcome restore = run({"restore", name, file, "--conferma"});
    ASSERT_EQ(restore.code, 0) << restore.err.toStdString();
    auto after = connectToServer();
    after->useDatabase(name);
    EXPECT_EQ(after->scalar(QStringLiteral("select count(*) from magazzini")).toInt(), before);

    const QString none = m_dir.filePath(QStringLiteral("nessuno.sql"));
    EXPECT_EQ(run({"restore", name, none, "--conferma"}).err,
              QStringLiteral("File non trovato: %1\n").arg(none));
    directory().execDirect(QStringLiteral("DELETE FROM aziende"));
    const Outcome empty = run({"backup"});
    EXPECT_EQ(empty.code, 1);
    EXPECT_EQ(empty.err, "Nessuna azienda da salvare nella lista delle aziende\n");
}

TEST_F(AdminToolTest, ServerCommandsRefuseAnotherMachineLeaveARunningServerAloneAndStartOurs)
{
    const core::ConnectionSettings s = serverSettings();
    const Outcome elsewhere = run({"start-server", "--host", "server01"});
    EXPECT_EQ(elsewhere.code, 1);
    EXPECT_EQ(elsewhere.err,
              "Il server server01 non è questa postazione: il server integrato si avvia solo qui\n");

    const Outcome answering = run({"start-server"}); // the test server already answers there
    EXPECT_EQ(answering.code, 0);
    EXPECT_EQ(answering.out, QStringLiteral("Il server risponde già sulla porta %1\n").arg(s.port));

    const Outcome notRunning = run({"stop-server"});
    EXPECT_EQ(notRunning.code, 0);
    EXPECT_EQ(notRunning.out, "Il server integrato non è in esecuzione\n");
    EXPECT_TRUE(core::EmbeddedServer::answers(s));

    // One real start: the server stays up after the tool ends, and stop-server ends it.
    const int port = core::LocalServer::findFreePort();
    core::ConnectionIni ini(m_paths.connessioneIni());
    ini.setDirectory({QStringLiteral("127.0.0.1"), port, QStringLiteral("aziende"), QStringLiteral("root"),
                      QStringLiteral("480117"), QStringLiteral("CLIENT/SERVER")});
    ini.save();

    const Outcome started = run({"start-server"});
    ASSERT_EQ(started.code, 0) << started.err.toStdString();
    EXPECT_EQ(
        started.out,
        QStringLiteral("Server avviato sulla porta %1 (dati in %2)\n").arg(port).arg(m_paths.serverDir()));
    const core::ConnectionSettings embedded = ini.directory().connection(false);
    EXPECT_TRUE(core::EmbeddedServer::answers(embedded));

    const Outcome stopped = run({"stop-server"});
    EXPECT_EQ(stopped.out, "Server fermato\n");
    EXPECT_FALSE(core::EmbeddedServer::answers(embedded));
}

} // namespace
