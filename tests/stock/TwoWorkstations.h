#pragma once

#include "core/Db.h"

#include <QDeadlineTimer>
#include <QString>

#include <gtest/gtest.h>

#include <exception>
#include <functional>
#include <memory>
#include <thread>

namespace carvendo::testing {

// Holds a workstation in the middle of its command: a trigger made by the test makes every insert
// into the table wait at a named lock that the test holds until open() (or the end of the test).
class InsertGate
{
public:
    InsertGate(core::Db& db, const QString& table) : m_db(db)
    {
        m_db.scalar(QStringLiteral("SELECT GET_LOCK(CONCAT('carvendo-prova.', DATABASE()), 10)"));
        m_db.execDirect(QStringLiteral("CREATE TRIGGER cancello BEFORE INSERT ON `%1` FOR EACH ROW BEGIN "
                                       "SET @cancello = GET_LOCK(CONCAT('carvendo-prova.', DATABASE()), 60); "
                                       "SET @cancello = RELEASE_LOCK(CONCAT('carvendo-prova.', DATABASE())); "
                                       "END")
                            .arg(table));
    }
    ~InsertGate()
    {
        open();
        m_db.execDirect(QStringLiteral("DROP TRIGGER IF EXISTS cancello"));
    }
    void open() { m_db.scalar(QStringLiteral("SELECT RELEASE_LOCK(CONCAT('carvendo-prova.', DATABASE()))")); }

private:
    core::Db& m_db;
};

// Waits until the server connection's statement stands where `condition` (over PROCESSLIST's STATE and
// INFO) says; a failure of the test when that does not happen within a generous bound.
inline void waitUntil(core::Db& observer, unsigned long threadId, const QString& condition,
                      const QString& what)
{
    const QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        if (observer
                .scalar(QStringLiteral(
                            "SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE ID = :ID AND ") +
                            condition,
                        {{QStringLiteral("ID"), qint64(threadId)}, {QStringLiteral("QUALE"), what}})
                .toInt() > 0)
            return;
        std::this_thread::yield();
    }
    ADD_FAILURE() << "connection " << threadId << " never got to " << what.toStdString();
}

// Waits until the connection waits for a named lock (GET_LOCK).
inline void waitUntilAtNamedLock(core::Db& observer, unsigned long threadId)
{
    waitUntil(observer, threadId, QStringLiteral("STATE = :QUALE"), QStringLiteral("User lock"));
}

// Waits until the connection runs a statement on the table, whose row the test holds locked: from
// then on it waits for that lock. (InnoDB does not list every such wait among its transactions.)
inline void waitUntilAtTable(core::Db& observer, unsigned long threadId, const QString& table)
{
    waitUntil(observer, threadId, QStringLiteral("LOCATE(:QUALE, INFO) > 0"), table);
}

// One workstation's command on a thread of its own, with its own connection.
class Workstation
{
public:
    explicit Workstation(std::unique_ptr<core::Db> db) : m_db(std::move(db)) {}
    ~Workstation()
    {
        if (m_thread.joinable())
            m_thread.join();
    }

    core::Db& db() { return *m_db; }
    void start(std::function<void(core::Db&)> command)
    {
        m_thread = std::thread([this, command = std::move(command)] {
            try {
                command(*m_db);
            } catch (...) {
                m_failure = std::current_exception();
            }
        });
    }
    // Waits for the command; rethrows what it threw.
    void finish()
    {
        if (m_thread.joinable())
            m_thread.join();
        if (m_failure)
            std::rethrow_exception(std::exchange(m_failure, nullptr));
    }

private:
    std::unique_ptr<core::Db> m_db;
    std::thread m_thread;
    std::exception_ptr m_failure;
};

} // namespace carvendo::testing
