#include "foundation/BackupService.h"

#include "core/Connections.h"
#include "core/Paths.h"
#include "core/Session.h"
#include "tests/support/FixedClock.h"
#include "tests/support/Login.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace carvendo::core;
using namespace carvendo::foundation;
using carvendo::testing::DialogEvent;
using carvendo::testing::FixedClock;
using carvendo::testing::readFile;
using carvendo::testing::ScriptedDialogs;

namespace {

const QString RestoreQuestion = QStringLiteral(
    "Attenzione, tutti i dati verranno sovrascritti! sei sicuro di voler eseguire il restore del database?");
const QString StartOfYearQuestion = QStringLiteral("ATTENZIONE! TUTTI I DOCUMENTI DI VENDITA E DI ACQUISTO "
                                                   "VERRANNO AZZERATI. VERRA' CREATO UN BACKUP DELL'ANNO "
                                                   "CORRENTE. VUOI PROCEDERE ADESSO? ");
const QString NoPrivilege = QStringLiteral("Non possiedi i privilegi per eseguire questa operazione");

using carvendo::testing::privilegesOf;

// One company per test: restores and the start of year replace or empty its tables.
class BackupServiceTest : public ::testing::Test
{
protected:
    BackupServiceTest() : m_paths(m_data.path(), m_data.path()) {}

    void SetUp() override
    {
        ASSERT_TRUE(m_data.isValid());
        m_connections.setCompanySettings(m_company.settings());
        logInWith({Privilege::FullAccess});
    }

    void logInWith(std::initializer_list<Privilege> flags)
    {
        m_session.logIn(
            Operator{1, QStringLiteral("Mario"), QStringLiteral("mario"), {}, QStringLiteral("Admin")},
            Warehouse{1, QStringLiteral("MAGAZZINO CENTRALE")}, privilegesOf(flags));
    }

    BackupService service(DatabaseDump dump = DatabaseDump())
    {
        return BackupService(m_connections, m_paths, m_session, m_dialogs, m_clock, runHere, std::move(dump));
    }

    Db& db() { return m_connections.company(); }
    QString backupFile(const QString& name) const { return m_paths.backupDir() + u'/' + name; }
    int count(const QString& sql) { return db().scalar(sql).toInt(); }

    // Moves the server's clock for the company connection: the start of year takes its year from there.
    void setServerNow(const char* dateTime)
    {
        db().exec(QStringLiteral("SET timestamp = UNIX_TIMESTAMP(:T)"),
                  {{"T", QString::fromLatin1(dateTime)}});
    }

    QTemporaryDir m_data{QDir::tempPath() + QStringLiteral("/bk-XXXXXX")};
    Paths m_paths;
    carvendo::testing::CompanyDatabase m_company{QStringLiteral("backup")};
    Connections m_connections;
    Session m_session{MachineType::ClientServer};
    ScriptedDialogs m_dialogs;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 6), QTime(14, 30, 5))};
};

DatabaseDump brokenDump()
{
    return DatabaseDump(
        DumpTools{QStringLiteral("/nessuna/cartella/mariadb-dump"), QStringLiteral("mariadb")});
}

TEST_F(BackupServiceTest, ManualBackupDumpsLogsAndCountsEachRun)
{
    ASSERT_TRUE(service().backUp());
    const QString file = backupFile(QStringLiteral("BACKUP_06_12_2026.sql"));
    EXPECT_EQ(m_dialogs.messages(), QStringList{QStringLiteral("Backup avvenuto con successo")});
    EXPECT_TRUE(readFile(file).contains("CREATE TABLE `backupcontatore`"));

    m_clock.setNow(QDateTime(QDate(2026, 12, 6), QTime(18, 2, 0)));
    ASSERT_TRUE(service().backUp());

    const Rows log = db().query(QStringLiteral("SELECT Data, Percorso FROM backup ORDER BY idBackup"));
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(log.value(0, "Data").toString(), u"06/12/2026 14:30:05");
    EXPECT_EQ(log.value(1, "Data").toString(), u"06/12/2026 18:02:00");
    EXPECT_EQ(service().summary(), (BackupSummary{2, QStringLiteral("06/12/2026 18:02:00")}));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM backupcontatore")), 1);
}

TEST_F(BackupServiceTest, PathsTooLongForTheLogAreLoggedByFileName)
{
    QTemporaryDir deep(QDir::tempPath() + QStringLiteral("/una-cartella-dati-dal-nome-molto-lungo-XXXXXX"));
    const Paths paths(deep.path(), deep.path());
    BackupService backups(m_connections, paths, m_session, m_dialogs, m_clock, runHere);
    ASSERT_TRUE(backups.backUp());
    EXPECT_TRUE(QFileInfo::exists(paths.backupDir() + QStringLiteral("/BACKUP_06_12_2026.sql")));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT Percorso FROM backup")).toString(),
              u"BACKUP_06_12_2026.sql");
}

TEST_F(BackupServiceTest, FailedBackupSaysWhyAndRecordsNothing)
{
    EXPECT_FALSE(service(brokenDump()).backUp());
    EXPECT_TRUE(m_dialogs.lastText().startsWith(
        u"Backup non riuscito:\nImpossibile avviare il programma /nessuna/cartella/mariadb-dump: "))
        << m_dialogs.lastText().toStdString();
    EXPECT_FALSE(QFileInfo::exists(backupFile(QStringLiteral("BACKUP_06_12_2026.sql"))));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM backup")), 0);
}

TEST_F(BackupServiceTest, RestoreAsksFirstThenPutsTheBackupBack)
{
    db().exec(QStringLiteral("INSERT INTO clienti (Cognome) VALUES ('Prima')"));
    ASSERT_TRUE(service().backUp());
    const QString file = backupFile(QStringLiteral("BACKUP_06_12_2026.sql"));
    db().exec(QStringLiteral("INSERT INTO clienti (Cognome) VALUES ('Dopo')"));
    m_dialogs.clear();

    // No file chosen, or the question answered no: nothing changes and nothing is said.
    m_dialogs.answerCancel();
    EXPECT_FALSE(service().restore());
    m_dialogs.answerFile(file).answerConfirm(false);
    EXPECT_FALSE(service().restore());
    EXPECT_TRUE(m_dialogs.messages().isEmpty());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM clienti WHERE Cognome = 'Dopo'")), 1);
    m_dialogs.clear();

    m_dialogs.answerFile(file).answerConfirm(true);
    ASSERT_TRUE(service().restore());

    ASSERT_EQ(m_dialogs.events().size(), 3u);
    EXPECT_EQ(m_dialogs.events()[1].text, RestoreQuestion);
    EXPECT_EQ(m_dialogs.events()[2].text, u"Restore avvenuto con successo.");
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM clienti WHERE Cognome = 'Prima'")), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM clienti WHERE Cognome = 'Dopo'")), 0);
    // The backup was taken before it was logged: the restored log does not have it. The window's
    // connection goes on working on the tables that came in.
    EXPECT_EQ(service().summary(), (BackupSummary{0, QString()}));
    m_dialogs.clear();
    ASSERT_TRUE(service().backUp());
    EXPECT_EQ(service().summary(), (BackupSummary{1, QStringLiteral("06/12/2026 14:30:05")}));
}

// A dump made by an older version comes back on this version's schema, not on the one it was made with.
TEST_F(BackupServiceTest, RestoreOfAnOlderDumpUpgradesTheCompany)
{
    db().execDirect(QStringLiteral("ALTER TABLE articoli DROP COLUMN obsoleto"));
    db().execDirect(QStringLiteral("ALTER TABLE clienti MODIFY COLUMN barcode varchar(13) DEFAULT NULL"));
    db().exec(QStringLiteral("UPDATE versione SET VersioneDB = '5.2.0'"));
    db().exec(QStringLiteral("INSERT INTO clienti (Cognome) VALUES ('Vecchio')"));
    ASSERT_TRUE(service().backUp());
    m_dialogs.clear();

    m_dialogs.answerFile(backupFile(QStringLiteral("BACKUP_06_12_2026.sql"))).answerConfirm(true);
    ASSERT_TRUE(service().restore());

    EXPECT_EQ(db().scalar(QStringLiteral("SELECT VersioneDB FROM versione")).toString(),
              QStringLiteral("6.1.10"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = "
                                   "DATABASE() AND TABLE_NAME = 'articoli' AND COLUMN_NAME = 'obsoleto'")),
              1);
    db().exec(QStringLiteral("UPDATE clienti SET barcode = '20000000000016' WHERE Cognome = 'Vecchio'"));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT barcode FROM clienti WHERE Cognome = 'Vecchio'")).toString(),
              QStringLiteral("20000000000016"));
}

TEST_F(BackupServiceTest, FailedRestoreShowsTheToolsErrorNeverTheSuccessMessage)
{
    db().exec(QStringLiteral("INSERT INTO clienti (Cognome) VALUES ('Resta')"));
    const QString file = m_data.filePath(QStringLiteral("non_un_backup.sql"));
    carvendo::testing::writeFile(file, "CREATE TABLE clienti (id INT);\nQUESTO NON E' SQL;\n");

    m_dialogs.answerFile(file).answerConfirm(true);
    EXPECT_FALSE(service().restore());
    const QStringList errors = m_dialogs.texts(DialogEvent::Kind::Error);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith(
        u"Restore non riuscito, i dati non sono stati modificati:\nERROR 1064 (42000) at line 2:"))
        << errors[0].toStdString();
    EXPECT_TRUE(m_dialogs.texts(DialogEvent::Kind::Information).isEmpty());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM clienti WHERE Cognome = 'Resta'")), 1);
}

TEST_F(BackupServiceTest, StartOfYearIsForFullAccessOnlyAndCancelledDoesNothing)
{
    logInWith({Privilege::Impostazioni, Privilege::Fatturazione, Privilege::Cancellazione});
    EXPECT_FALSE(service().startOfYear());
    EXPECT_EQ(m_dialogs.messages(), QStringList{NoPrivilege});

    logInWith({Privilege::FullAccess});
    db().exec(QStringLiteral("INSERT INTO fatture (NumDoc, Anno) VALUES (1, '2026')"));
    m_dialogs.clear();
    m_dialogs.answerConfirm(false);
    EXPECT_FALSE(service().startOfYear());
    EXPECT_EQ(m_dialogs.texts(DialogEvent::Kind::Confirm), QStringList{StartOfYearQuestion});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM fatture")), 1);
    EXPECT_FALSE(QDir(m_paths.backupDir()).exists());
}

TEST_F(BackupServiceTest, StartOfYearKeepsEveryYearsDumpAndEmptiesTheDocuments)
{
    setServerNow("2031-12-31 19:00:00");
    const QStringList expectedFiles{QStringLiteral("GESTIONALE_2031.sql"),
                                    QStringLiteral("GESTIONALE_2031_2.sql")};
    QByteArray firstDump;
    for (int run = 0; run < expectedFiles.size(); ++run) {
        db().exec(QStringLiteral("INSERT INTO fatture (NumDoc, Anno) VALUES (:N, '2031')"), {{"N", run + 1}});
        db().exec(QStringLiteral("INSERT INTO banco (NumDoc) VALUES (:N)"), {{"N", run + 1}});
        m_dialogs.clear();
        m_dialogs.answerConfirm(true);
        ASSERT_TRUE(service().startOfYear());
        const QString file = backupFile(expectedFiles[run]);
        EXPECT_EQ(
            m_dialogs.messages(),
            QStringList{
                QStringLiteral("Procedura completata. Il backup dell'anno 2031 è nel file %1").arg(file)});
        const QByteArray dump = readFile(file);
        EXPECT_TRUE(dump.contains(QStringLiteral("INSERT INTO `fatture` VALUES").toUtf8()))
            << "dumped before emptying";
        if (run == 0)
            firstDump = dump;
        EXPECT_EQ(
            count(QStringLiteral("SELECT (SELECT COUNT(*) FROM fatture) + (SELECT COUNT(*) FROM banco)")), 0);
    }
    EXPECT_EQ(readFile(backupFile(expectedFiles[0])), firstDump) << "an earlier dump is never overwritten";
    EXPECT_EQ(QDir(m_paths.backupDir()).entryList(QDir::Files), expectedFiles);
}

TEST_F(BackupServiceTest, FailingInizioAnnoLeavesTheDumpAndTheDocuments)
{
    setServerNow("2027-01-02 08:00:00");
    db().exec(QStringLiteral("INSERT INTO fatture (NumDoc, Anno) VALUES (5, '2026')"));
    db().execDirect(QStringLiteral("DROP PROCEDURE INIZIOANNO"));
    m_dialogs.answerConfirm(true);
    EXPECT_FALSE(service().startOfYear());
    EXPECT_EQ(m_dialogs.texts(DialogEvent::Kind::Error),
              QStringList{QStringLiteral("Procedura non riuscita, riprovare.")});
    EXPECT_TRUE(
        readFile(backupFile(QStringLiteral("GESTIONALE_2026.sql"))).contains("INSERT INTO `fatture` VALUES"))
        << "in January the dump is named after the year just ended";
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM fatture")), 1);
}

// Unpaid deadlines, unsettled customer accounts (with the sales they are closed from) and supplier
// orders not yet received carry over into the new year; their settled or received twins go.
TEST_F(BackupServiceTest, StartOfYearKeepsWhatIsStillOpen)
{
    setServerNow("2027-01-03 09:00:00");
    db().exec(
        QStringLiteral("INSERT INTO scadenzario (idScadenza, NrDoc, Evaso) VALUES (1, 10, 0), (2, 11, 1), "
                       "(3, 12, NULL)"));
    db().exec(QStringLiteral("INSERT INTO banco (id, NumDoc) VALUES (21, 1), (22, 2), (23, 3)"));
    db().exec(QStringLiteral("INSERT INTO dettbanco (idBanco, Descrizione) VALUES (21, 'Cover aperta'), "
                             "(22, 'Cover saldata'), (23, 'Vendita chiusa')"));
    db().exec(QStringLiteral("INSERT INTO sospesi (id, idBanco, Importo, residuo, Saldato) VALUES "
                             "(31, 21, 50, 20, 0), (32, 22, 40, 0, 1)"));
    db().exec(QStringLiteral("INSERT INTO elencosospesi (idsospeso, importo) VALUES (31, 20), (32, 0)"));
    db().exec(
        QStringLiteral("INSERT INTO ordinifornitori (idOrdine, NumDoc, Evaso, CaricoMerceCreato) VALUES "
                       "(41, 1, NULL, 0), (42, 2, 'Si', 1), (43, 3, 'No', NULL)"));
    db().exec(QStringLiteral("INSERT INTO dettordinefornitore (idOrdineFornitore, Descrizione) VALUES "
                             "(41, 'In arrivo'), (42, 'Arrivato'), (43, 'In arrivo 2')"));
    db().exec(QStringLiteral("INSERT INTO ordineforntc (idordine, taglia) VALUES (41, 'M'), (42, 'L')"));
    m_dialogs.answerConfirm(true);

    ASSERT_TRUE(service().startOfYear());

    auto ids = [this](const QString& sql) { return carvendo::testing::rowsAsText(db(), sql).join(u','); };
    EXPECT_EQ(ids(QStringLiteral("SELECT idScadenza FROM scadenzario ORDER BY 1")), QStringLiteral("1,3"));
    EXPECT_EQ(ids(QStringLiteral("SELECT id FROM sospesi ORDER BY 1")), QStringLiteral("31"));
    EXPECT_EQ(ids(QStringLiteral("SELECT idsospeso FROM elencosospesi ORDER BY 1")), QStringLiteral("31"));
    EXPECT_EQ(ids(QStringLiteral("SELECT id FROM banco ORDER BY 1")), QStringLiteral("21"));
    EXPECT_EQ(ids(QStringLiteral("SELECT Descrizione FROM dettbanco ORDER BY 1")),
              QStringLiteral("Cover aperta"));
    EXPECT_EQ(ids(QStringLiteral("SELECT idOrdine FROM ordinifornitori ORDER BY 1")),
              QStringLiteral("41,43"));
    EXPECT_EQ(ids(QStringLiteral("SELECT Descrizione FROM dettordinefornitore ORDER BY 1")),
              QStringLiteral("In arrivo,In arrivo 2"));
    EXPECT_EQ(ids(QStringLiteral("SELECT taglia FROM ordineforntc ORDER BY 1")), QStringLiteral("M"));
}

TEST_F(BackupServiceTest, StartOfYearNeverEmptiesTheDocumentsWithoutItsDump)
{
    db().exec(QStringLiteral("INSERT INTO fatture (NumDoc, Anno) VALUES (5, '2026')"));
    m_dialogs.answerConfirm(true);
    EXPECT_FALSE(service(brokenDump()).startOfYear());
    const QStringList errors = m_dialogs.texts(DialogEvent::Kind::Error);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith(
        u"Backup non riuscito, i documenti non sono stati azzerati:\nImpossibile avviare il "
        u"programma /nessuna/cartella/mariadb-dump: "))
        << errors[0].toStdString();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM fatture")), 1);
}

} // namespace
