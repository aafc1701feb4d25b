#include "tests/support/Workstation.h"

#include <QDeadlineTimer>

#include <gtest/gtest.h>

namespace carvendo::testing {

Workstation::Workstation(std::unique_ptr<core::Db> own) : m_own(std::move(own)), m_db(*m_own) {}

Workstation::Workstation(core::Db& connection) : m_db(connection) {}

Workstation::~Workstation()
{
    if (m_thread.joinable())
        m_thread.join();
}

void Workstation::start(std::function<void(core::Db&)> command)
{
    m_done = false;
    m_thread = std::thread([this, command = std::move(command)] {
        try {
            command(m_db);
        } catch (...) {
            m_failure = std::current_exception();
        }
        m_done = true;
    });
}

bool Workstation::waitsAtNamedLock(core::Db& observer)
{
    return waitsWhere(observer, QStringLiteral("STATE = :QUALE"), QStringLiteral("User lock"));
}

bool Workstation::waitsAtTable(core::Db& observer, const QString& table)
{
    return waitsWhere(observer, QStringLiteral("LOCATE(:QUALE, INFO) > 0"), table);
}

bool Workstation::waitsWhere(core::Db& observer, const QString& condition, const QString& what)
{
    const qint64 id = qint64(m_db.serverThreadId());
    // The bound only keeps a broken test from hanging; the wait itself is on the server's state.
    const QDeadlineTimer deadline(60000);
    while (!m_done && !deadline.hasExpired()) {
        if (observer
                .scalar(QStringLiteral(
                            "SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE ID = :ID AND ") +
                            condition,
                        {{QStringLiteral("ID"), id}, {QStringLiteral("QUALE"), what}})
                .toInt() > 0)
            return true;
        std::this_thread::yield();
    }
    return false;
}

void Workstation::finish()
{
    if (m_thread.joinable())
        m_thread.join();
    if (m_failure)
        std::rethrow_exception(std::exchange(m_failure, nullptr));
}

HalfDoneCommand::HalfDoneCommand(core::Db& db, const QString& lock, const QString& write,
                                 const core::Params& params)
    : m_lock(std::make_unique<core::NamedLock>(db, lock)),
      m_transaction(std::make_unique<core::Transaction>(db))
{
    db.exec(write, params);
}

void HalfDoneCommand::finish()
{
    m_transaction->commit();
    m_transaction.reset();
    m_lock.reset();
}

InsertGate::InsertGate(core::Db& db, const QString& table) : m_db(db)
{
    m_db.scalar(QStringLiteral("SELECT GET_LOCK(CONCAT('carvendo-prova.', DATABASE()), 10)"));
    m_db.execDirect(QStringLiteral("CREATE TRIGGER cancello BEFORE INSERT ON `%1` FOR EACH ROW BEGIN "
                                   "SET @cancello = GET_LOCK(CONCAT('carvendo-prova.', DATABASE()), 60); "
                                   "SET @cancello = RELEASE_LOCK(CONCAT('carvendo-prova.', DATABASE())); "
                                   "END")
                        .arg(table));
}

void InsertGate::open()
{
    m_db.scalar(QStringLiteral("SELECT RELEASE_LOCK(CONCAT('carvendo-prova.', DATABASE()))"));
}

InsertGate::~InsertGate()
{
    open();
    m_db.execDirect(QStringLiteral("DROP TRIGGER IF EXISTS cancello"));
}

} // namespace carvendo::testing
