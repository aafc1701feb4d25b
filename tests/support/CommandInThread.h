#pragma once

#include "core/Db.h"
#include "core/NamedLock.h"

#include <QString>
#include <QtGlobal>

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <thread>

namespace carvendo::testing {

// A second workstation's command run on a thread of its own, for tests of two workstations at once:
// while the test holds a lock or an open transaction on another connection, the command starts and
// the test waits until it waits for a named server lock, or has ended without waiting for one.
class CommandInThread
{
public:
    // commandConnection is the connection the command works on; observer another one, for watching.
    CommandInThread(core::Db& commandConnection, core::Db& observer, std::function<void()> command);
    ~CommandInThread();
    CommandInThread(const CommandInThread&) = delete;
    CommandInThread& operator=(const CommandInThread&) = delete;

    // True once the command waits for a named lock; false when it ended first.
    bool waitsForLock();
    // Waits for the command to end; rethrows what it threw.
    void finish();

private:
    core::Db& m_observer;
    qint64 m_connectionId;
    std::atomic<bool> m_done{false};
    std::exception_ptr m_error;
    std::thread m_thread;
};

// The other workstation half-way through a command that checks a value and then writes it: it
// holds the named lock of that check and has written its value, not yet committed. finish()
// commits and lets the lock go.
class HalfDoneCommand
{
public:
    HalfDoneCommand(core::Db& db, const QString& lock, const QString& write, const core::Params& params = {})
        : m_lock(std::make_unique<core::NamedLock>(db, lock)),
          m_transaction(std::make_unique<core::Transaction>(db))
    {
        db.exec(write, params);
    }
    void finish()
    {
        m_transaction->commit();
        m_transaction.reset();
        m_lock.reset();
    }

private:
    std::unique_ptr<core::NamedLock> m_lock;
    std::unique_ptr<core::Transaction> m_transaction;
};

} // namespace carvendo::testing
