#include "core/CompanyDirectory.h"

#include "core/CompanyDatabase.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestFiles.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace carvendo::core;
using carvendo::testing::connectToServer;
namespace ct = carvendo::testing;

namespace {

// A directory database of our own, made the way a workstation makes it, dropped at the end.
class CompanyDirectoryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_name = QStringLiteral("aziende_%1").arg(QCoreApplication::applicationPid());
        m_server = connectToServer();
        CompanyDirectory::createDirectoryDatabase(*m_server, m_name);
        m_server->execDirect(QStringLiteral("SET timestamp = UNIX_TIMESTAMP('2024-03-15 10:30:00')"));
    }

    void TearDown() override { dropDatabase(*connectToServer(), m_name); }

    Db& db() { return *m_server; }

    QString m_name;
    std::unique_ptr<Db> m_server;
};

TEST_F(CompanyDirectoryTest, CreatesTheDirectoryInLatin1AndRefusesNamesThatAreNoPlainIdentifiers)
{
    EXPECT_TRUE(CompanyDirectory::directoryExists(db(), m_name));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT DEFAULT_COLLATION_NAME FROM information_schema.SCHEMATA "
                                         "WHERE SCHEMA_NAME = :N"),
                          {{"N", m_name}})
                  .toString(),
              "latin1_swedish_ci");
    // The question is a bound value: a name that would break SQL text is simply not there.
    EXPECT_FALSE(CompanyDirectory::directoryExists(db(), QStringLiteral("x' OR '1'='1")));

    for (const QString& name : {QStringLiteral("aziende`; DROP DATABASE mysql; --"), QStringLiteral("")}) {
        EXPECT_EQ(ct::errorOf([&] { CompanyDirectory::createDirectoryDatabase(db(), name); }),
                  QStringLiteral("Nome di database non valido: \"%1\". Usare solo lettere, cifre e \"_\".")
                      .arg(name));
    }
    EXPECT_TRUE(CompanyDirectory::directoryExists(db(), m_name)); // the current one untouched
}

TEST_F(CompanyDirectoryTest, NewCompanyNamedByTheSizeOfTheDirectoryTouchedAndRemoved)
{
    CompanyDirectory directory(db());
    const QString expected[] = {"gestionale", "gestionale1", "gestionale2", "", ""};
    QList<int> ids;
    for (int existing = 0; existing < 5; ++existing) {
        ASSERT_EQ(directory.count(), existing);
        const int id = ids.emplace_back(directory.addNewCompany());
        const CompanyRecord added = directory.record(id);
        EXPECT_EQ(added.databasename, expected[existing]) << existing << " companies before";
        EXPECT_EQ(added.lastaccess, QDateTime(QDate(2024, 3, 15), QTime(10, 30)));
    }

    // The last access is the server's clock; a removed company is gone from the list.
    const int first = ids[0];
    const int second = ids[1];
    db().execDirect(QStringLiteral("SET timestamp = UNIX_TIMESTAMP('2024-04-02 08:15:00')"));
    directory.touchLastAccess(second);
    EXPECT_EQ(directory.record(second).lastaccess, QDateTime(QDate(2024, 4, 2), QTime(8, 15)));

    directory.remove(first);
    EXPECT_EQ(directory.list().size(), 4);
    EXPECT_THROW(directory.record(first), DbError);
}

CompanyRecord sampleCard()
{
    CompanyRecord r;
    r.ragionesociale = QStringLiteral("Telefonia Rossi S.r.l.");
    r.indirizzo = QStringLiteral("Via Roma 12");
    r.citta = QStringLiteral("Forlì");
    r.cap = QStringLiteral("47121");
    r.lastaccess = QDateTime(QDate(2024, 1, 5), QTime(9, 0));
    r.host = QStringLiteral("server01");
    r.porta = 3310;
    r.username = QStringLiteral("cassa");
    r.password = QStringLiteral("segreta");
    r.databasename = QStringLiteral("rossi");
    return r;
}

TEST_F(CompanyDirectoryTest, CardIsInsertedAndUpdatedColumnForColumnKeepingTheLogo)
{
    CompanyDirectory directory(db());
    CompanyRecord card = sampleCard();
    card.id = directory.save(card);
    const QByteArray png("\x89PNG\r\n\x1a\n\0\x01\x02", 11);
    directory.setLogo(card.id, png);

    card.ragionesociale = QStringLiteral("Rossi & Figli € più");
    card.porta = 3307;
    card.lastaccess = QDateTime();
    EXPECT_EQ(directory.save(card), card.id);
    EXPECT_EQ(directory.record(card.id), card);
    EXPECT_TRUE(db().query(QStringLiteral("select lastaccess from aziende where id = :ID"), {{"ID", card.id}})
                    .first()[u"lastaccess"]
                    .isNull());
    EXPECT_EQ(directory.logo(card.id), png) << "saving the card keeps the logo";
    directory.setLogo(card.id, {});
    EXPECT_TRUE(directory.logo(card.id).isEmpty());
}

TEST_F(CompanyDirectoryTest, SavingACompanyDeletedElsewhereSaysSo)
{
    CompanyDirectory directory(db());
    CompanyRecord card = sampleCard();
    card.id = directory.save(card);
    directory.remove(card.id);
    EXPECT_EQ(
        ct::errorOf([&] { directory.save(card); }),
        QStringLiteral("L'azienda %1 non esiste più: è stata eliminata da un'altra postazione").arg(card.id));
    EXPECT_EQ(directory.count(), 0);
}

} // namespace
