#include "tests/support/CommandInThread.h"

#include "core/Db.h"

namespace carvendo::testing {

CommandInThread::CommandInThread(core::Db& commandConnection, core::Db& observer,
                                 std::function<void()> command)
    : m_observer(observer),
      m_connectionId(commandConnection.scalar(QStringLiteral("SELECT CONNECTION_ID()")).toInt64())
{
    m_thread = std::thread([this, command = std::move(command)] {
        try {
            command();
        } catch (...) {
            m_error = std::current_exception();
        }
        m_done = true;
    });
}

CommandInThread::~CommandInThread()
{
    if (m_thread.joinable())
        m_thread.join();
}

bool CommandInThread::waitsForLock()
{
    while (!m_done) {
        const bool waiting =
            m_observer
                .scalar(
                    QStringLiteral("SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE ID = :ID AND "
                                   "STATE = 'User lock'"),
                    {{QStringLiteral("ID"), m_connectionId}})
                .toInt() > 0;
        if (waiting)
            return true;
        std::this_thread::yield();
    }
    return false;
}

void CommandInThread::finish()
{
    if (m_thread.joinable())
        m_thread.join();
    if (m_error)
        std::rethrow_exception(m_error);
}

} // namespace carvendo::testing
