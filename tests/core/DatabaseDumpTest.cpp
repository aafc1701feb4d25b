#include "core/DatabaseDump.h"

#include "tests/support/QtPrinters.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace carvendo::core;
using carvendo::testing::CompanyDatabase;
using carvendo::testing::ScratchDatabase;
namespace ct = carvendo::testing;

namespace {

// Every base table of a database with its CHECKSUM TABLE value.
QMap<QString, qint64> checksums(Db& db, const QString& database)
{
    QStringList tables;
    for (const Row row : db.query(QStringLiteral("SELECT TABLE_NAME FROM information_schema.TABLES "
                                                 "WHERE TABLE_SCHEMA = :DB AND TABLE_TYPE = 'BASE TABLE'"),
                                  {{"DB", database}}))
        tables << QStringLiteral("`%1`.`%2`").arg(database, row.at(0).toString());
    QMap<QString, qint64> result;
    if (tables.isEmpty())
        return result;
    for (const Row row : db.query(QStringLiteral("CHECKSUM TABLE ") + tables.join(QStringLiteral(", "))))
        result.insert(row.at(0).toString().section(u'.', 1), row.at(1).toInt64());
    return result;
}

// Routines, triggers and events of a database: kind and name with the body.
QMap<QString, QString> schemaObjects(Db& db, const QString& database)
{
    QMap<QString, QString> result;
    for (const Row row : db.query(
             QStringLiteral(
                 "SELECT ROUTINE_TYPE, ROUTINE_NAME, ROUTINE_DEFINITION FROM information_schema.ROUTINES "
                 "WHERE ROUTINE_SCHEMA = :DB"),
             {{"DB", database}}))
        result.insert(row.at(0).toString() + u' ' + row.at(1).toString(), row.at(2).toString());
    for (const Row row :
         db.query(QStringLiteral("SELECT TRIGGER_NAME, ACTION_STATEMENT FROM information_schema.TRIGGERS "
                                 "WHERE TRIGGER_SCHEMA = :DB"),
                  {{"DB", database}}))
        result.insert(QStringLiteral("TRIGGER ") + row.at(0).toString(), row.at(1).toString());
    return result;
}

bool databaseExists(Db& db, const QString& name)
{
    return db.scalar(
                 QStringLiteral("SELECT COUNT(*) FROM information_schema.SCHEMATA WHERE SCHEMA_NAME = :DB"),
                 {{"DB", name}})
               .toInt() > 0;
}

class DatabaseDumpTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        m_db = m_company.newConnection();
        m_server = carvendo::testing::connectToServer();
    }

    // Rows of several kinds: accented text, a blob with every byte value, NULLs, floats.
    void addSampleData()
    {
        m_db->exec(
            QStringLiteral("INSERT INTO clienti (RagioneSociale, Cognome, Nome) VALUES "
                           "('Caffè Società € S.r.l.', 'Rossi', NULL), ('O''Brien', 'D''Amico', 'Niccolò'), "
                           "('DEFINER=`root`@`localhost`', 'Testo', 'USE `altro`;')"));
        QByteArray blob;
        for (int i = 0; i < 256; ++i)
            blob.append(char(i));
        m_db->exec(QStringLiteral("INSERT INTO pulsanti (NameBt, Immagine) VALUES ('bt1', :IMG)"),
                   {{"IMG", blob}});
        m_db->exec(QStringLiteral(
            "INSERT INTO articoli (CodArticolo, Descrizione, PrezzoVendita) VALUES "
            "('A1', 'Cover \"trasparente\"\\\\', 12.345), ('A2', 'Vetro; temperato -- x', 0.1)"));
    }

    QString path(const QString& name) const { return m_folder.filePath(name); }
    QString name() const { return m_company.name(); }

    QTemporaryDir m_folder;
    CompanyDatabase m_company{QStringLiteral("dump")};
    std::unique_ptr<Db> m_db;
    std::unique_ptr<Db> m_server;
    DatabaseDump m_dump;
};

TEST_F(DatabaseDumpTest, RoundTripGivesBackEveryTableRoutineAndTrigger)
{
    addSampleData();
    m_db->execDirect(QStringLiteral("CREATE TRIGGER clienti_nome BEFORE INSERT ON clienti FOR EACH ROW "
                                    "SET NEW.Nome = COALESCE(NEW.Nome, 'senza nome')"));
    const auto tablesBefore = checksums(*m_server, name());
    const auto objectsBefore = schemaObjects(*m_server, name());
    ASSERT_GT(tablesBefore.size(), 100);
    ASSERT_TRUE(objectsBefore.contains(QStringLiteral("PROCEDURE INIZIOANNO")));

    const QString file = path(QStringLiteral("copia.sql"));
    std::vector<int> steps;
    m_dump.dumpTo(m_company.settings(), name(), file, [&](int p) { steps.push_back(p); });
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.back(), 100);

    // Change rows, drop a routine and the trigger, add a table: the restore must undo all of it.
    m_db->exec(QStringLiteral("DELETE FROM clienti WHERE Cognome = 'Rossi'"));
    m_db->exec(QStringLiteral("UPDATE articoli SET PrezzoVendita = 99 WHERE CodArticolo = 'A2'"));
    m_db->execDirect(QStringLiteral("DROP PROCEDURE INIZIOANNO"));
    m_db->execDirect(QStringLiteral("DROP TRIGGER clienti_nome"));
    m_db->execDirect(QStringLiteral("CREATE TABLE in_piu (id INT)"));
    ASSERT_NE(checksums(*m_server, name()), tablesBefore);

    m_dump.restoreFrom(m_company.settings(), name(), file);

    EXPECT_EQ(checksums(*m_server, name()), tablesBefore);
    EXPECT_EQ(schemaObjects(*m_server, name()), objectsBefore);
    EXPECT_FALSE(databaseExists(*m_server, name() + QStringLiteral("_precedente")));
}

TEST_F(DatabaseDumpTest, DumpRestoresUnderAnotherNameWithTheRestoringUserAsDefiner)
{
    addSampleData();
    // A procedure made by an account this server does not have, as in a dump from another shop.
    m_db->execDirect(QStringLiteral("CREATE DEFINER=`negozio`@`192.168.1.10` PROCEDURE conta_clienti() "
                                    "SELECT COUNT(*) AS n FROM clienti"));
    EXPECT_THROW(m_db->call(QStringLiteral("conta_clienti")), DbError) << "its definer does not exist here";
    const QString file = path(QStringLiteral("altro.sql"));
    m_dump.dumpTo(m_company.settings(), name(), file);

    ScratchDatabase other(QStringLiteral("altra"));
    m_dump.restoreFrom(other.settings(), other.name(), file);

    EXPECT_EQ(checksums(*m_server, other.name()), checksums(*m_server, name()));
    const QString definer =
        m_server
            ->scalar(QStringLiteral("SELECT DEFINER FROM information_schema.ROUTINES "
                                    "WHERE ROUTINE_SCHEMA = :DB AND ROUTINE_NAME = 'conta_clienti'"),
                     {{"DB", other.name()}})
            .toString();
    EXPECT_EQ(definer, m_server->scalar(QStringLiteral("SELECT CURRENT_USER()")).toString());
    other.db().useDatabase(other.name());
    EXPECT_EQ(other.db().call(QStringLiteral("conta_clienti")).rows.value(0, "n").toInt(), 3);
}

TEST_F(DatabaseDumpTest, ADumpNamingItsDatabaseStillGoesOnlyWhereItIsRestored)
{
    addSampleData();
    const QString file = path(QStringLiteral("con_nome.sql"));
    m_dump.dumpTo(m_company.settings(), name(), file);
    const QByteArray dump = ct::readFile(file);
    // As made with --databases --add-drop-database: the file drops, creates and selects the company
    // it came from.
    const QByteArray header =
        QStringLiteral(
            "/*!40000 DROP DATABASE IF EXISTS `%1`*/;\n\n"
            "CREATE DATABASE /*!32312 IF NOT EXISTS*/ `%1` /*!40100 DEFAULT CHARACTER SET latin1 */;\n\n"
            "USE `%1`;\n")
            .arg(name())
            .toUtf8();
    const QString named = path(QStringLiteral("con_nome_database.sql"));
    ct::writeFile(named, header + dump);
    m_db->exec(QStringLiteral("INSERT INTO clienti (Cognome) VALUES ('Solo qui')"));
    const auto companyBefore = checksums(*m_server, name());

    ScratchDatabase other(QStringLiteral("altra"));
    m_dump.restoreFrom(other.settings(), other.name(), named);
    EXPECT_EQ(checksums(*m_server, name()), companyBefore) << "the company named in the file is left alone";
    EXPECT_EQ(m_server->scalar(QStringLiteral("SELECT COUNT(*) FROM `%1`.clienti").arg(other.name())).toInt(),
              3);

    // Two databases in one file are not the backup of one company.
    const QString two = path(QStringLiteral("due_database.sql"));
    ct::writeFile(two, header + dump + "USE `mysql`;\n" + dump);
    const auto otherBefore = checksums(*m_server, other.name());
    EXPECT_EQ(ct::errorOf([&] { m_dump.restoreFrom(other.settings(), other.name(), two); }),
              QStringLiteral("Il file contiene più database: scegliere il backup di una sola azienda."));
    EXPECT_EQ(checksums(*m_server, other.name()), otherBefore);
    EXPECT_FALSE(databaseExists(*m_server, other.name() + QStringLiteral("_ripristino")));
}

TEST_F(DatabaseDumpTest, BrokenDumpReportsTheToolsErrorAndLeavesTheCompanyAsItWas)
{
    addSampleData();
    const QString file = path(QStringLiteral("intero.sql"));
    m_dump.dumpTo(m_company.settings(), name(), file);
    const QByteArray whole = ct::readFile(file);
    // Cut in the middle of the data: the first statements run, then the tool stops on a broken one.
    const qsizetype cut = whole.indexOf("INSERT INTO `clienti`") + 40;
    ASSERT_GT(cut, 40);
    const QString broken = path(QStringLiteral("rotto.sql"));
    ct::writeFile(broken, whole.left(cut) + "\n;\n");

    m_db->exec(QStringLiteral("INSERT INTO clienti (Cognome) VALUES ('Dopo il backup')"));
    const auto tablesBefore = checksums(*m_server, name());
    const auto objectsBefore = schemaObjects(*m_server, name());
    const QString error = ct::errorOf([&] { m_dump.restoreFrom(m_company.settings(), name(), broken); });
    EXPECT_TRUE(error.startsWith(u"ERROR 1064 (42000) at line ")) << error.toStdString();
    EXPECT_FALSE(error.contains(u"INSERT INTO")) << "the echoed statement is left out";
    EXPECT_EQ(checksums(*m_server, name()), tablesBefore);
    EXPECT_EQ(schemaObjects(*m_server, name()), objectsBefore);
}

// The loaded copy is readied (upgraded) before the swap: when that fails, the company is untouched.
TEST_F(DatabaseDumpTest, APreparationThatFailsLeavesTheCompanyAsItWas)
{
    addSampleData();
    const QString file = path(QStringLiteral("intero.sql"));
    m_dump.dumpTo(m_company.settings(), name(), file);
    m_db->exec(QStringLiteral("INSERT INTO clienti (Cognome) VALUES ('Dopo il backup')"));
    const auto tablesBefore = checksums(*m_server, name());

    QString preparedIn;
    const QString error = ct::errorOf([&] {
        m_dump.restoreFrom(m_company.settings(), name(), file, {}, [&](Db& restored) {
            preparedIn = restored.scalar(QStringLiteral("SELECT DATABASE()")).toString();
            restored.execDirect(QStringLiteral("DELETE FROM clienti"));
            throw DumpError(QStringLiteral("aggiornamento non riuscito"));
        });
    });

    EXPECT_EQ(error, QStringLiteral("aggiornamento non riuscito"));
    EXPECT_EQ(preparedIn, name() + QStringLiteral("_ripristino"));
    EXPECT_EQ(checksums(*m_server, name()), tablesBefore);
    EXPECT_FALSE(databaseExists(*m_server, name() + QStringLiteral("_ripristino")));
    EXPECT_FALSE(databaseExists(*m_server, name() + QStringLiteral("_precedente")));
}

// Refused before anything is replaced: a file that is no backup, a missing file, and the tables an
// interrupted restore left behind, which are never dropped.
TEST_F(DatabaseDumpTest, RestoresThatCannotBeginAreRefusedAndChangeNothing)
{
    addSampleData();
    const QString copy = path(QStringLiteral("copia.sql"));
    m_dump.dumpTo(m_company.settings(), name(), copy);
    const auto tablesBefore = checksums(*m_server, name());
    const auto restore = [&](const QString& file) {
        return ct::errorOf([&] { m_dump.restoreFrom(m_company.settings(), name(), file); });
    };
    const QString file = path(QStringLiteral("vuoto.sql"));
    ct::writeFile(file, "-- solo un commento\nSELECT 1;\n");
    EXPECT_EQ(restore(file),
              QStringLiteral("Il file scelto non contiene tabelle: non è un backup del database."));
    const QString missing = path(QStringLiteral("manca.sql"));
    EXPECT_EQ(restore(missing), QStringLiteral("Il file %1 non esiste.").arg(missing));

    const QString previous = name() + QStringLiteral("_precedente");
    m_server->execDirect(QStringLiteral("CREATE DATABASE `%1`").arg(previous));
    m_server->execDirect(QStringLiteral("CREATE TABLE `%1`.clienti (id INT)").arg(previous));
    m_server->execDirect(QStringLiteral("INSERT INTO `%1`.clienti VALUES (7)").arg(previous));
    EXPECT_EQ(restore(copy), QStringLiteral("Il database %1 contiene le tabelle di un ripristino interrotto: "
                                            "controllarle ed eliminare quel database prima di ripetere il "
                                            "ripristino.")
                                 .arg(previous));
    EXPECT_EQ(m_server->scalar(QStringLiteral("SELECT id FROM `%1`.clienti").arg(previous)).toInt(), 7);
    m_server->execDirect(QStringLiteral("DROP DATABASE `%1`").arg(previous));
    EXPECT_EQ(checksums(*m_server, name()), tablesBefore);
}

TEST_F(DatabaseDumpTest, FailedDumpKeepsThePreviousFileAndLeavesNoPartialFile)
{
    const QString file = path(QStringLiteral("BACKUP_SICUREZZA.sql"));
    ct::writeFile(file, "-- il backup di ieri\n");

    // Nothing of a failed dump is left: the file of the last good one stays as it was, alone.
    const auto expectFailure = [&](const DatabaseDump& dump, const QString& database, const QString& start) {
        const QString error = ct::errorOf([&] { dump.dumpTo(m_company.settings(), database, file); });
        EXPECT_TRUE(error.startsWith(start)) << error.toStdString();
        EXPECT_EQ(ct::readFile(file), QByteArray("-- il backup di ieri\n"));
        EXPECT_EQ(QDir(m_folder.path()).entryList(QDir::Files),
                  QStringList{QStringLiteral("BACKUP_SICUREZZA.sql")});
    };
    expectFailure(DatabaseDump(), QStringLiteral("nessuna_azienda"),
                  QStringLiteral("mariadb-dump: Got error: 1049: \"Unknown database 'nessuna_azienda'\""));
    expectFailure(
        DatabaseDump(DumpTools{QStringLiteral("/nessuna/cartella/mariadb-dump"), QStringLiteral("mariadb")}),
        name(), QStringLiteral("Impossibile avviare il programma /nessuna/cartella/mariadb-dump: "));
    // A wrong password is a server error, before the tool runs.
    ConnectionSettings wrongPassword = m_company.settings();
    wrongPassword.password = QStringLiteral("sbagliata");
    EXPECT_THROW(m_dump.dumpTo(wrongPassword, name(), file), DbError);
    EXPECT_EQ(ct::readFile(file), QByteArray("-- il backup di ieri\n"));
}

TEST(DatabaseDumpArguments, ThePasswordNeverGoesOnTheCommandLine)
{
    ConnectionSettings tcp;
    tcp.host = QStringLiteral("192.168.1.5");
    tcp.port = 3307;
    tcp.user = QStringLiteral("root");
    tcp.password = QStringLiteral("480117");
    EXPECT_EQ(DatabaseDump::connectionArguments(tcp),
              (QStringList{"--protocol=tcp", "--host=192.168.1.5", "--port=3307", "--user=root"}));
    ConnectionSettings socket = tcp;
    socket.unixSocket = QStringLiteral("/tmp/mysqld.sock");
    EXPECT_EQ(DatabaseDump::connectionArguments(socket),
              (QStringList{"--protocol=socket", "--socket=/tmp/mysqld.sock", "--user=root"}));
}

} // namespace
