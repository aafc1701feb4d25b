#pragma once

#include "core/Db.h"

#include <QString>

#include <gtest/gtest.h>

#include <memory>

namespace carvendo::testing {

// The private server that scripts/test starts for the suite, read from CARVENDO_TEST_DB_HOST,
// CARVENDO_TEST_DB_PORT, CARVENDO_TEST_DB_USER, CARVENDO_TEST_DB_PASSWORD (or CARVENDO_TEST_DB_SOCKET).
core::ConnectionSettings serverSettings();

// A connection to the server without a default database.
std::unique_ptr<core::Db> connectToServer();

// The company template the build produced (data/db.sql).
QString companyTemplatePath();

// A throw-away company database made from data/db.sql, dropped when the object goes.
class CompanyDatabase
{
public:
    explicit CompanyDatabase(const QString& label = QStringLiteral("t"));
    ~CompanyDatabase();

    core::Db& db() { return *m_db; }
    const QString& name() const { return m_name; }
    core::ConnectionSettings settings() const; // pointing at this database
    std::unique_ptr<core::Db> newConnection() const;

private:
    QString m_name;
    std::unique_ptr<core::Db> m_db;
};

// An empty database (no tables), dropped when the object goes.
class ScratchDatabase
{
public:
    explicit ScratchDatabase(const QString& label = QStringLiteral("s"));
    ~ScratchDatabase();

    core::Db& db() { return *m_db; }
    const QString& name() const { return m_name; }
    core::ConnectionSettings settings() const;

private:
    QString m_name;
    std::unique_ptr<core::Db> m_db;
};

// The remote repair-ticket exchange: a scratch database with its `users` table (customers' web accounts).
class ExchangeDatabase : public ScratchDatabase
{
public:
    explicit ExchangeDatabase(const QString& label = QStringLiteral("x"));
};

// The running suite's name in lower case, fit for a database name.
QString suiteLabel();

// Inserts one row of the given column values (column names come from the test's own code); returns
// the new row's id.
qint64 insertRow(core::Db& db, const QString& table, const core::Params& columns);

// Each row of the result as its values joined by '|' (numbers as the server gives them, NULL empty).
QStringList rowsAsText(core::Db& db, const QString& sql, const core::Params& params = {});

// A test suite whose cases share one company database, made before the first case and dropped
// after the last (named after the suite). Each case cleans the tables it uses.
template <typename Suite> class CompanySuite : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_company = std::make_unique<CompanyDatabase>(suiteLabel()); }
    static void TearDownTestSuite() { s_company.reset(); }
    static CompanyDatabase& company() { return *s_company; }
    static core::Db& db() { return s_company->db(); }
    static void emptyTables(std::initializer_list<const char*> tables)
    {
        for (const char* table : tables)
            db().exec(QStringLiteral("DELETE FROM `%1`").arg(QLatin1String(table)));
    }
    static int insert(const char* table, const core::Params& columns)
    {
        return int(insertRow(db(), QLatin1String(table), columns));
    }
    static int count(const QString& sql, const core::Params& params = {})
    {
        return db().scalar(sql, params).toInt();
    }
    static QStringList rows(const QString& sql, const core::Params& params = {})
    {
        return rowsAsText(db(), sql, params);
    }

private:
    static inline std::unique_ptr<CompanyDatabase> s_company;
};

} // namespace carvendo::testing
