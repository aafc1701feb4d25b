#include "foundation/ImpostazioniNew.h"

#include "core/Paths.h"
#include "core/Session.h"
#include "foundation/ImpostazioniIni.h"
#include "schema/CompanyTemplate.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestFiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace carvendo::core;
using namespace carvendo::foundation;
using carvendo::testing::ScriptedDialogs;

namespace {

const QByteArray Png = QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray("\x00\x00\x00\x0d"
                                                                       "IHDR logo",
                                                                       13);

class ImpostazioniNewTest : public carvendo::testing::CompanySuite<ImpostazioniNewTest>
{
protected:
    static void SetUpTestSuite()
    {
        CompanySuite::SetUpTestSuite();
        s_directory = std::make_unique<carvendo::testing::ScratchDatabase>(QStringLiteral("dir"));
        s_directory->db().runScript(carvendo::schema::CompanyTemplate::directoryScript());
    }
    static void TearDownTestSuite()
    {
        s_directory.reset();
        CompanySuite::TearDownTestSuite();
    }

    void SetUp() override
    {
        m_db = company().newConnection();
        m_directory = &s_directory->db();
        for (const char* table : {"casse", "cassemodelli", "banche"})
            m_db->exec(QStringLiteral("DELETE FROM %1").arg(QString::fromLatin1(table)));
        m_db->exec(QStringLiteral("DELETE FROM gruppi WHERE id <> 1"));
        m_directory->exec(QStringLiteral("DELETE FROM aziende"));
        m_directory->exec(QStringLiteral(
            "INSERT INTO aziende (ragionesociale, host, porta, username, password, databasename) "
            "VALUES ('Vecchio Nome', 'server1', 3307, 'root', '480117', 'gestionale')"));
        m_companyId = int(m_directory->lastInsertId());
        m_paths = std::make_unique<Paths>(m_dir.path(), m_dir.path());
    }

    ImpostazioniNew& window()
    {
        if (!m_window)
            m_window = std::make_unique<ImpostazioniNew>(*m_db, *m_directory, *m_paths, m_session, m_dialogs,
                                                         m_companyId);
        return *m_window;
    }

    void writeFile(const QString& name, const QByteArray& bytes) const
    {
        carvendo::testing::writeFile(m_dir.filePath(name), bytes);
    }

    Row companyRow()
    {
        return m_directory
            ->query(QStringLiteral("SELECT * FROM aziende WHERE id = :ID"), {{"ID", m_companyId}})
            .first();
    }

    static inline std::unique_ptr<carvendo::testing::ScratchDatabase> s_directory;
    QTemporaryDir m_dir;
    std::unique_ptr<Paths> m_paths;
    std::unique_ptr<Db> m_db;
    Db* m_directory = nullptr;
    int m_companyId = 0;
    Session m_session;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<ImpostazioniNew> m_window;
};

TEST_F(ImpostazioniNewTest, TheCurrentCompanyIsFoundFromItsConnection)
{
    m_directory->exec(
        QStringLiteral("INSERT INTO aziende (ragionesociale, host, porta, databasename, piva) VALUES "
                       "('Filiale', 'server2', 3307, 'gestionale', '01234567890'), ('Altra', 'server1', "
                       "3307, 'gestionale1', "
                       "NULL)"));
    m_directory->exec(QStringLiteral("UPDATE aziende SET piva = '01234567890' WHERE id = :ID"),
                      {{"ID", m_companyId}});
    const int filiale =
        m_directory->scalar(QStringLiteral("SELECT id FROM aziende WHERE ragionesociale = 'Filiale'"))
            .toInt();
    const int altra =
        m_directory->scalar(QStringLiteral("SELECT id FROM aziende WHERE ragionesociale = 'Altra'")).toInt();
    const auto connection = [](const char* host, int port, const char* database) {
        ConnectionSettings settings;
        settings.host = QString::fromLatin1(host);
        settings.port = port;
        settings.database = QString::fromLatin1(database);
        return settings;
    };
    const struct
    {
        ConnectionSettings company;
        int expected;
    } cases[] = {
        {connection("altrove", 3306, "gestionale1"), altra}, // the only company with that database
        {connection("SERVER2", 3307, "gestionale"), filiale},
        {connection("server1", 3307, "gestionale"), m_companyId},
        {connection("server3", 3307, "gestionale"), m_companyId}, // neither on that server, one company
    };
    for (const auto& c : cases)
        EXPECT_EQ(ImpostazioniNew::companyIdOf(*m_directory, c.company), c.expected)
            << c.company.host.toStdString() << " " << c.company.database.toStdString();
    EXPECT_EQ(carvendo::testing::errorOf([&] {
                  ImpostazioniNew::companyIdOf(*m_directory, connection("server1", 3307, "altrove"));
              }),
              QStringLiteral("L'azienda corrente (database altrove) non è nella directory delle aziende."));
    // Two companies on that database name, neither on that server: not the first of them.
    m_directory->exec(QStringLiteral("UPDATE aziende SET piva = '09876543210' WHERE id = :ID"),
                      {{"ID", filiale}});
    EXPECT_EQ(
        carvendo::testing::errorOf(
            [&] { ImpostazioniNew::companyIdOf(*m_directory, connection("server3", 3307, "gestionale")); }),
        QStringLiteral("Nella directory delle aziende più aziende usano il database gestionale e nessuna "
                       "è sul server server3, porta 3307: correggere server e porta dell'azienda "
                       "corrente nella directory delle aziende."));
}

TEST_F(ImpostazioniNewTest, AziendaSavesTheCompanyDataAndLeavesItsConnectionAlone)
{
    CompanyRecord record = window().companyRecord();
    EXPECT_EQ(record.ragionesociale, "Vecchio Nome");
    record.ragionesociale = QStringLiteral(" Rossi Telefonia Srl ");
    record.citta = QStringLiteral("Città di Castello");
    record.piva = QStringLiteral("01234567890");
    record.host = QStringLiteral("altro-server"); // not edited here
    EXPECT_TRUE(window().saveCompany(record));
    EXPECT_EQ(m_dialogs.messages(), QStringList({"Impostazioni salvate"}));

    const Row row = companyRow();
    EXPECT_EQ(row[u"ragionesociale"].toString(), "Rossi Telefonia Srl");
    EXPECT_EQ(row[u"citta"].toString(), "Città di Castello");
    EXPECT_EQ(row[u"host"].toString(), "server1");

    const struct
    {
        QString CompanyRecord::*member;
        QString value;
        const char* message;
    } refused[] = {
        {&CompanyRecord::ragionesociale, QStringLiteral("  "), "Inserire la ragione sociale"},
        {&CompanyRecord::cap, QStringLiteral("06012-06013"),
         "Il campo \"Cap\" può contenere al massimo 10 caratteri"},
    };
    for (const auto& r : refused) {
        m_dialogs.clear();
        CompanyRecord bad = window().companyRecord();
        bad.*r.member = r.value;
        EXPECT_FALSE(window().saveCompany(bad));
        EXPECT_EQ(m_dialogs.messages(), QStringList({QString::fromUtf8(r.message)}));
    }
    EXPECT_EQ(companyRow()[u"ragionesociale"].toString(), "Rossi Telefonia Srl");
}

TEST_F(ImpostazioniNewTest, LogoIsLoadedFromAPictureDeletedOnConfirmationAndSavedWithItsSwitch)
{
    writeFile(QStringLiteral("logo.png"), Png);
    writeFile(QStringLiteral("note.txt"), "non sono un'immagine");

    m_dialogs.answerFile(m_dir.filePath(QStringLiteral("note.txt")));
    EXPECT_FALSE(window().loadLogo());
    EXPECT_EQ(m_dialogs.messages(), QStringList({"Il file scelto non è un'immagine (PNG, JPEG, BMP o GIF)"}));

    m_dialogs.answerFile(m_dir.filePath(QStringLiteral("logo.png")));
    EXPECT_TRUE(window().loadLogo());
    window().setUsesLogo(true);
    EXPECT_TRUE(window().saveLogo());
    EXPECT_EQ(companyRow()[u"logo"].toBytes(), Png);
    EXPECT_EQ(ImpostazioniIni(m_paths->impostazioniIni()).text(ImpostazioniKeys::logo()), "1");

    m_dialogs.answerConfirm(true);
    EXPECT_TRUE(window().deleteLogo());
    EXPECT_TRUE(window().logo().isEmpty());
    EXPECT_EQ(companyRow()[u"logo"].toBytes(), Png) << "kept until Salva";
    window().setUsesLogo(false);
    EXPECT_TRUE(window().saveLogo());
    EXPECT_TRUE(companyRow()[u"logo"].isNull());
    EXPECT_EQ(ImpostazioniIni(m_paths->impostazioniIni()).text(ImpostazioniKeys::logo()), "0");
}

TEST_F(ImpostazioniNewTest, RegistratoriDiCassaListsTheModelsOfTheBrandAndSavesRegisterAndPassword)
{
    for (const auto& [model, brand] : std::initializer_list<std::pair<const char*, const char*>>{
             {"Nettuna 300", "O'Neil"}, {"Form 100", "O'Neil"}, {"Sarema", "Olivetti"}})
        m_db->exec(QStringLiteral("INSERT INTO cassemodelli (Modello, Marca) VALUES (:M, :B)"),
                   {{"M", QString::fromUtf8(model)}, {"B", QString::fromUtf8(brand)}});
    EXPECT_EQ(window().cashRegisterModels(QStringLiteral("O'Neil")),
              QStringList({"Form 100", "Nettuna 300"}));
    EXPECT_TRUE(window().cashRegisterModels(QStringLiteral("' OR ''='")).isEmpty());

    const QString folder = m_dir.path();
    CashRegisterSettings settings{QStringLiteral("O'Neil"), QStringLiteral("Form 100"), folder,
                                  QStringLiteral("1234")};
    EXPECT_TRUE(window().saveCashRegister(settings));
    settings.modello = QStringLiteral("Nettuna 300");
    EXPECT_TRUE(window().saveCashRegister(settings));
    EXPECT_EQ(m_db->scalar(QStringLiteral("SELECT COUNT(*) FROM casse")).toInt(), 1)
        << "one register, updated";
    EXPECT_EQ(window().cashRegister(), settings);

    m_dialogs.clear();
    settings.cartellaLavoro = m_dir.filePath(QStringLiteral("manca"));
    settings.password = QStringLiteral("9999");
    EXPECT_FALSE(window().saveCashRegister(settings));
    EXPECT_EQ(m_dialogs.messages(), QStringList({"La cartella di lavoro indicata non esiste"}));
    EXPECT_EQ(ImpostazioniIni(m_paths->impostazioniIni()).text(ImpostazioniKeys::cassaPassword()), "1234");
}

// The connection is lost after the row is written and before the commit: the register and logo
// settings are not kept, and impostazioni.ini is left byte for byte as it was.
TEST_F(ImpostazioniNewTest, ADatabaseFailureBeforeTheCommitLeavesImpostazioniIniAsItWas)
{
    const QByteArray before = "[CASSA]\r\nPASSWORD=1234\r\n[DROPBOX]\r\nPath=/vecchia\r\n";
    writeFile(QStringLiteral("impostazioni.ini"), before);
    m_db->exec(QStringLiteral("UPDATE logostampe SET fatture = 0, preventivi = 0"));
    auto killer = company().newConnection();
    m_db->setStatementLogger([&](const QString& sql, qint64) {
        if (sql.startsWith(QStringLiteral("INSERT INTO casse")) ||
            sql.startsWith(QStringLiteral("UPDATE logostampe")))
            killer->exec(QStringLiteral("KILL CONNECTION :ID"), {{"ID", qint64(m_db->serverThreadId())}});
    });

    EXPECT_FALSE(window().saveCashRegister(
        {QStringLiteral("Olivetti"), QStringLiteral("Sarema"), m_dir.path(), QStringLiteral("9999")}));
    EXPECT_FALSE(window().savePrintSettings(LogoUse{true, true, true, true, true}, m_dir.path()));

    EXPECT_EQ(m_dialogs.texts(carvendo::testing::DialogEvent::Kind::Error).size(), 2);
    EXPECT_EQ(carvendo::testing::readFile(m_dir.filePath(QStringLiteral("impostazioni.ini"))), before);
    m_db->setStatementLogging(false);
    EXPECT_EQ(m_db->scalar(QStringLiteral("SELECT COUNT(*) FROM casse")).toInt(), 0);
    EXPECT_EQ(m_db->scalar(QStringLiteral("SELECT SUM(fatture + preventivi) FROM logostampe")).toInt(), 0);
}

TEST_F(ImpostazioniNewTest, EmailAccountNeedsAPort)
{
    const MailAccount bad{
        QStringLiteral("smtp.example.it"), QStringLiteral("negozio@example.it"), 0, {}, {}, {}};
    EXPECT_FALSE(window().saveMailAccount(bad));
    EXPECT_EQ(m_dialogs.messages(), QStringList({"Inserire un numero di porta valido"}));
}

TEST_F(ImpostazioniNewTest, ECommerceTestConnectsWithTheTypedValuesAndChangesNothing)
{
    const auto server = carvendo::testing::serverSettings();
    if (server.port == 0)
        GTEST_SKIP() << "the test server is reached through a socket";
    StoreConnection store{QStringLiteral("127.0.0.1"),
                          QString::number(server.port),
                          server.user,
                          server.password,
                          QStringLiteral("ps_"),
                          QString(),
                          StoreSettings::Manual,
                          StoreSettings::Automatic,
                          StoreSettings::Manual};
    const QString before = m_db->scalar(QStringLiteral("SELECT conn_host FROM vm_store")).toString();

    EXPECT_TRUE(window().testStoreConnection(store));
    EXPECT_EQ(m_dialogs.messages(), QStringList({"Connessione OK"}));

    m_dialogs.clear();
    StoreConnection wrong = store;
    wrong.port = QStringLiteral("1");
    EXPECT_FALSE(window().testStoreConnection(wrong));
    EXPECT_EQ(m_dialogs.messages(), QStringList({"Impossibile stabilire una connessione"}));
    EXPECT_EQ(m_db->scalar(QStringLiteral("SELECT conn_host FROM vm_store")).toString(), before);

    m_dialogs.clear();
    store.port = QStringLiteral("13306"); // saving does not connect, but keeps four digits
    EXPECT_FALSE(window().saveStore(store));
    EXPECT_EQ(m_dialogs.messages(), QStringList({"Inserire un numero di porta valido (da 1 a 9999)"}));
}

} // namespace
