#include "tests/support/TestDatabase.h"

#include "core/CompanyDatabase.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <atomic>

namespace carvendo::testing {

namespace {

QString env(const char* name)
{
    return QString::fromLocal8Bit(qgetenv(name));
}

QString uniqueName(const QString& label)
{
    static std::atomic<int> counter{0};
    return QStringLiteral("%1_%2_%3").arg(label).arg(QCoreApplication::applicationPid()).arg(++counter);
}

void dropQuietly(const QString& name)
{
    try {
        auto server = connectToServer();
        core::dropDatabase(*server, name);
    } catch (const std::exception& e) {
        ADD_FAILURE() << "could not drop " << name.toStdString() << ": " << e.what();
    }
}

core::ConnectionSettings settingsFor(const QString& database)
{
    core::ConnectionSettings s = serverSettings();
    s.database = database;
    return s;
}

} // namespace

core::ConnectionSettings serverSettings()
{
    core::ConnectionSettings s;
    s.unixSocket = env("CARVENDO_TEST_DB_SOCKET");
    s.host = env("CARVENDO_TEST_DB_HOST");
    s.port = env("CARVENDO_TEST_DB_PORT").toInt();
    s.user = env("CARVENDO_TEST_DB_USER");
    s.password = env("CARVENDO_TEST_DB_PASSWORD");
    if (s.host.isEmpty())
        s.host = QStringLiteral("127.0.0.1");
    if (s.user.isEmpty())
        s.user = QStringLiteral("root");
    if (s.unixSocket.isEmpty() && s.port == 0)
        throw std::runtime_error("Test database server not configured: run the tests through scripts/test "
                                 "or set CARVENDO_TEST_DB_PORT and CARVENDO_TEST_DB_PASSWORD");
    return s;
}

std::unique_ptr<core::Db> connectToServer()
{
    auto db = std::make_unique<core::Db>(serverSettings());
    db->open();
    return db;
}

qint64 insertRow(core::Db& db, const QString& table, const core::Params& columns)
{
    QStringList names;
    QStringList placeholders;
    for (auto it = columns.cbegin(); it != columns.cend(); ++it) {
        names << QLatin1Char('`') + it.key() + QLatin1Char('`');
        placeholders << QLatin1Char(':') + it.key();
    }
    db.exec(QStringLiteral("INSERT INTO `%1` (%2) VALUES (%3)")
                .arg(table, names.join(QStringLiteral(", ")), placeholders.join(QStringLiteral(", "))),
            columns);
    return db.lastInsertId();
}

QStringList rowsAsText(core::Db& db, const QString& sql, const core::Params& params)
{
    const core::Rows rows = db.query(sql, params);
    QStringList lines;
    for (const core::Row row : rows) {
        QStringList values;
        for (int c = 0; c < rows.columnCount(); ++c)
            values << row.at(c).toString();
        lines << values.join(u'|');
    }
    return lines;
}

QString suiteLabel()
{
    const ::testing::TestSuite* suite = ::testing::UnitTest::GetInstance()->current_test_suite();
    QString label = suite ? QString::fromLatin1(suite->name()).toLower() : QStringLiteral("t");
    label.remove(QRegularExpression(QStringLiteral("[^a-z0-9_]")));
    return label.left(32);
}

QString companyTemplatePath()
{
    return QStringLiteral(CARVENDO_TEST_DB_SQL);
}

CompanyDatabase::CompanyDatabase(const QString& label) : m_name(uniqueName(label))
{
    m_db = connectToServer();
    core::createCompanyDatabase(*m_db, m_name, companyTemplatePath());
}

CompanyDatabase::~CompanyDatabase()
{
    dropQuietly(m_name);
}

core::ConnectionSettings CompanyDatabase::settings() const
{
    return settingsFor(m_name);
}

std::unique_ptr<core::Db> CompanyDatabase::newConnection() const
{
    auto db = std::make_unique<core::Db>(settings());
    db->open();
    return db;
}

ScratchDatabase::ScratchDatabase(const QString& label) : m_name(uniqueName(label))
{
    m_db = connectToServer();
    m_db->execDirect(
        QStringLiteral("CREATE DATABASE `%1` CHARACTER SET latin1 COLLATE latin1_swedish_ci").arg(m_name));
    m_db->useDatabase(m_name);
}

ScratchDatabase::~ScratchDatabase()
{
    dropQuietly(m_name);
}

core::ConnectionSettings ScratchDatabase::settings() const
{
    return settingsFor(m_name);
}

ExchangeDatabase::ExchangeDatabase(const QString& label) : ScratchDatabase(label)
{
    db().execDirect(
        QStringLiteral("CREATE TABLE users (id_user INT NOT NULL PRIMARY KEY, username VARCHAR(100), "
                       "passwd VARCHAR(50), loggato SMALLINT DEFAULT 0, attivo SMALLINT DEFAULT 0, "
                       "admin SMALLINT DEFAULT 0, fullname VARCHAR(100)) ENGINE=InnoDB"));
}

} // namespace carvendo::testing
