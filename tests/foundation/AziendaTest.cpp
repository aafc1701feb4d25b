// The way in: reaching the directory, choosing a company, the first warehouse, and the login checks.
#include "foundation/Azienda.h"
#include "core/CompanyDatabase.h"
#include "core/ConnectionIni.h"
#include "core/Paths.h"
#include "core/SchemaUpgrade.h"
#include "core/Session.h"
#include "foundation/AziendaAnagrafica.h"

#include "tests/support/QtPrinters.h"
#include "tests/support/RecordingNavigator.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace carvendo::core;
using namespace carvendo::foundation;
using carvendo::testing::RecordingNavigator;
using carvendo::testing::ScriptedDialogs;

namespace {

class AziendaTest : public carvendo::testing::CompanySuite<AziendaTest>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        // The install folder is the build tree: its data/db.sql is the template.
        QDir install = QFileInfo(carvendo::testing::companyTemplatePath()).dir();
        install.cdUp();
        m_paths = std::make_unique<Paths>(m_folder.path(), install.path());
        m_server = carvendo::testing::connectToServer();
        m_directoryName = company().name() + QStringLiteral("_dir");
        CompanyDirectory::createDirectoryDatabase(*m_server, m_directoryName);
        writeDirectorySettings(m_directoryName);
        m_db = company().newConnection();
        m_db->exec(QStringLiteral("DELETE FROM magazzini"));
        m_db->exec(QStringLiteral("UPDATE versione SET VersioneDB = '6.1.10'"));
        m_azienda = std::make_unique<Azienda>(m_connections, m_session, *m_paths, m_dialogs, m_navigator);
    }
    void TearDown() override { dropDatabase(*m_server, m_directoryName); }

    void writeDirectorySettings(const QString& database)
    {
        const ConnectionSettings server = carvendo::testing::serverSettings();
        ConnectionIni ini(m_paths->connessioneIni());
        ini.setDirectory({server.host, server.port, database, server.user, server.password,
                          QStringLiteral("CLIENT/SERVER")});
        ini.save();
    }

    // A directory row that leads to the suite's company database.
    int addCompanyRow()
    {
        const ConnectionSettings server = carvendo::testing::serverSettings();
        CompanyRecord record;
        record.ragionesociale = QStringLiteral("Telefonia Rossi");
        record.host = server.host;
        record.porta = server.port;
        record.username = server.user;
        record.password = server.password;
        record.databasename = company().name();
        Db directory(m_connections.directorySettings());
        directory.open();
        return CompanyDirectory(directory).save(record);
    }

    void addWarehouses()
    {
        m_db->exec(QStringLiteral("INSERT INTO magazzini (idMagazzino, Descrizione) VALUES (1, 'MAGAZZINO "
                                  "CENTRALE'), (2, 'NEGOZIO')"));
    }

    QTemporaryDir m_folder;
    std::unique_ptr<Paths> m_paths;
    std::unique_ptr<Db> m_server;
    std::unique_ptr<Db> m_db;
    QString m_directoryName;
    Connections m_connections;
    Session m_session;
    ScriptedDialogs m_dialogs;
    RecordingNavigator m_navigator;
    std::unique_ptr<Azienda> m_azienda;
};

TEST_F(AziendaTest, IncompleteSettingsOpenTheServerWindowFirst)
{
    ConnectionIni ini(m_paths->connessioneIni());
    DirectorySettings incomplete = ini.directory();
    incomplete.password.clear();
    ini.setDirectory(incomplete);
    ini.save();
    EXPECT_FALSE(m_azienda->start()) << "left without saving: nothing to reach";
    EXPECT_EQ(m_navigator.openedWindows(), QStringList{QStringLiteral("TImpostazioniServer")});

    m_navigator.whenOpened(QStringLiteral("TImpostazioniServer"), [&](const NavigationRequest&) {
        writeDirectorySettings(m_directoryName);
        return NavigationResult{true, {}, {}};
    });
    EXPECT_TRUE(m_azienda->start());
    EXPECT_EQ(m_azienda->companies().size(), 0);
}

TEST_F(AziendaTest, AnUnreadableSettingsFileIsToldAndTheStartEnds)
{
    QFile::remove(m_paths->connessioneIni());
    ASSERT_TRUE(QDir().mkpath(m_paths->connessioneIni())); // a folder where the file should be
    QFile probe(m_paths->connessioneIni());
    probe.open(QIODevice::ReadOnly);
    EXPECT_FALSE(m_azienda->start());
    EXPECT_EQ(m_dialogs.texts(carvendo::testing::DialogEvent::Kind::Error),
              QStringList{QStringLiteral("Impossibile leggere il file %1: %2")
                              .arg(m_paths->connessioneIni(), probe.errorString())});
    EXPECT_TRUE(m_navigator.openedWindows().isEmpty());
}

TEST_F(AziendaTest, ACompanyWithoutWarehouseAsksForTheFirstOne)
{
    ASSERT_TRUE(m_azienda->start());
    const int id = addCompanyRow();

    m_dialogs.answerConfirm(false);
    EXPECT_EQ(m_azienda->selectCompany(id), Azienda::Selection::EndProgram);
    EXPECT_EQ(m_dialogs.texts(carvendo::testing::DialogEvent::Kind::Confirm),
              QStringList{QStringLiteral(
                  "Per continuare è necessario avere almeno un magazzino, vuoi crearlo adesso?")});

    m_dialogs.answerConfirm(true);
    m_navigator.whenOpened(QStringLiteral("TMagazzinoAnagrafica"), [&](const NavigationRequest& request) {
        EXPECT_EQ(request.values.value(QStringLiteral("descrizione")).toString(),
                  QStringLiteral("MAGAZZINO CENTRALE"));
        m_db->exec(QStringLiteral("INSERT INTO magazzini (Descrizione) VALUES (:D)"),
                   {{"D", request.values.value(QStringLiteral("descrizione"))}});
        return NavigationResult{true, {}, {}};
    });
    EXPECT_EQ(m_azienda->selectCompany(id), Azienda::Selection::Ready);
    EXPECT_EQ(m_azienda->warehouses(), QStringList{QStringLiteral("MAGAZZINO CENTRALE")});
}

TEST_F(AziendaTest, ADatabaseOfAnotherVersionIsUpgradedAfterTheWarning)
{
    addWarehouses();
    m_db->exec(QStringLiteral("UPDATE versione SET VersioneDB = '5.2.0'"));
    ASSERT_TRUE(m_azienda->start());
    EXPECT_EQ(m_azienda->selectCompany(addCompanyRow()), Azienda::Selection::Ready);
    EXPECT_EQ(m_dialogs.messages(), QStringList{UpgradeWarning.toString()});
    EXPECT_EQ(m_db->scalar(QStringLiteral("SELECT VersioneDB FROM versione")).toString(),
              QStringLiteral("6.1.10"));

    m_dialogs.clear();
    EXPECT_EQ(m_azienda->selectCompany(addCompanyRow()), Azienda::Selection::Ready);
    EXPECT_TRUE(m_dialogs.messages().isEmpty()) << "6.1.10 is not upgraded again";
}

TEST_F(AziendaTest, LoginRefusalsSayTheSameAndAClearPasswordIsHashedAtItsFirstLogin)
{
    addWarehouses();
    m_db->exec(QStringLiteral("UPDATE utenti SET password = 'admin' WHERE username = 'admin'"));
    ASSERT_TRUE(m_azienda->start());
    const int id = addCompanyRow();
    ASSERT_EQ(m_azienda->selectCompany(id), Azienda::Selection::Ready);

    struct Attempt
    {
        QString warehouse, user, password, message;
    };
    const QString placeholderW = QString::fromLatin1(Azienda::WarehousePlaceholder);
    const QString placeholderU = QString::fromLatin1(Azienda::OperatorPlaceholder);
    for (const Attempt& a :
         {Attempt{placeholderW, "admin", "admin", "Selezionare un magazzino"},
          Attempt{"MAGAZZINO CENTRALE", placeholderU, "admin", "Selezionare un utente"},
          Attempt{"NEGOZIO", "admin", "admin", "Inserire la password"},
          Attempt{"MAGAZZINO CENTRALE", "admin", "' OR '1'='1", "Inserire la password"},
          Attempt{"MAGAZZINO CENTRALE", "' OR '1'='1' -- ", "x", "Inserire la password"}}) {
        m_dialogs.clear();
        EXPECT_FALSE(m_azienda->login(a.warehouse, a.user, a.password))
            << a.warehouse.toStdString() << "/" << a.password.toStdString();
        EXPECT_EQ(m_dialogs.texts(carvendo::testing::DialogEvent::Kind::Error), QStringList{a.message});
        EXPECT_FALSE(m_session.isLoggedIn());
    }

    const auto storedPassword = [&] {
        return m_db->scalar(QStringLiteral("SELECT password FROM utenti WHERE username = 'admin'"))
            .toString();
    };
    EXPECT_EQ(storedPassword(), "admin") << "a refused login changes nothing";

    // A database from before hashing: the clear password logs in once and is then kept as its hash.
    m_dialogs.clear();
    EXPECT_TRUE(m_azienda->login(QStringLiteral("MAGAZZINO CENTRALE"), QStringLiteral("admin"),
                                 QStringLiteral("admin")));
    EXPECT_TRUE(storedPassword().startsWith(QStringLiteral("$argon2id$"))) << storedPassword().toStdString();
    m_session.logOut();
    m_dialogs.clear();
    EXPECT_FALSE(m_azienda->login(QStringLiteral("MAGAZZINO CENTRALE"), QStringLiteral("admin"),
                                  QStringLiteral("ADMIN")));
    EXPECT_EQ(m_dialogs.texts(carvendo::testing::DialogEvent::Kind::Error),
              QStringList{"Inserire la password"});
    EXPECT_TRUE(m_azienda->login(QStringLiteral("MAGAZZINO CENTRALE"), QStringLiteral("admin"),
                                 QStringLiteral("admin")));
    EXPECT_EQ(m_session.warehouse(), (Warehouse{1, QStringLiteral("MAGAZZINO CENTRALE")}));
    EXPECT_TRUE(m_session.allows(Privilege::FullAccess));
    Db directory(m_connections.directorySettings());
    directory.open();
    EXPECT_TRUE(
        directory.scalar(QStringLiteral("SELECT lastaccess FROM aziende WHERE id = :ID"), {{"ID", id}})
            .toDateTime()
            .isValid());
}

TEST_F(AziendaTest, NewCompaniesGetProposedNamesAndACancelledCardLeavesNoRow)
{
    ASSERT_TRUE(m_azienda->start());
    m_navigator.returnFrom(QStringLiteral("TAziendaAnagrafica"), {true, {}, {}});
    m_navigator.returnFrom(QStringLiteral("TAziendaAnagrafica"), {true, {}, {}});
    m_navigator.returnFrom(QStringLiteral("TAziendaAnagrafica"), {false, {}, {}});
    m_azienda->createCompany();
    m_azienda->createCompany();
    m_azienda->createCompany();
    ASSERT_EQ(m_azienda->companies().size(), 2);
    EXPECT_EQ(m_azienda->companies()[0][u"databasename"].toString(), QStringLiteral("gestionale"));
    EXPECT_EQ(m_azienda->companies()[1][u"databasename"].toString(), QStringLiteral("gestionale1"));

    m_dialogs.answerConfirm(true);
    m_azienda->deleteCompany(m_azienda->companies()[0][u"id"].toInt());
    EXPECT_EQ(m_dialogs.texts(carvendo::testing::DialogEvent::Kind::Confirm),
              QStringList{QStringLiteral(" Eliminare l'azienda selezionata?")});
    EXPECT_EQ(m_azienda->companies().size(), 1);
}

TEST_F(AziendaTest, TheCompanyCardMakesTheDatabaseFromTheTemplate)
{
    ASSERT_TRUE(m_azienda->start());
    const int id = CompanyDirectory(m_connections.directory()).addNewCompany();
    AziendaAnagrafica card(m_connections, *m_paths, m_dialogs, id, AziendaAnagrafica::Mode::New);
    CompanyRecord record = card.record();
    const ConnectionSettings server = carvendo::testing::serverSettings();
    record.host = server.host;
    record.porta = server.port;
    record.username = server.user;
    record.password = server.password;
    record.databasename = QStringLiteral("nuova`; DROP");
    record.ragionesociale = QStringLiteral("Nuova Srl");
    card.setRecord(record);
    EXPECT_FALSE(card.save());
    EXPECT_EQ(m_dialogs.messages(),
              QStringList{QStringLiteral(
                  "Nome del database non valido: usare solo lettere, cifre e il carattere _")});

    record.databasename = m_directoryName + QStringLiteral("_nuova");
    card.setRecord(record);
    ASSERT_TRUE(card.save()) << m_dialogs.lastText().toStdString();
    Db made(CompanyConnection{server.host, server.port, server.user, server.password, record.databasename}
                .settings());
    made.open();
    EXPECT_EQ(made.scalar(QStringLiteral("SELECT VersioneDB FROM versione")).toString(),
              QStringLiteral("6.1.10"));
    EXPECT_EQ(CompanyDirectory(m_connections.directory()).record(id).ragionesociale,
              QStringLiteral("Nuova Srl"));
    dropDatabase(*m_server, record.databasename);
}

} // namespace
