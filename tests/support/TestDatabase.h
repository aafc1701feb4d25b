#pragma once

#include "Db.h"

#include <QString>

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

} // namespace carvendo::testing
