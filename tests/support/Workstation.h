#pragma once

#include "core/Db.h"
#include "core/NamedLock.h"

#include <QString>

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <thread>

namespace carvendo::testing {

// A second workstation's command on a thread of its own. The test holds a lock or an open transaction
// on another connection, starts the command, and watches the server's process list until the command
// waits where the test expects: never a sleep.
class Workstation
{
public:
    // A workstation with a connection of its own.
    explicit Workstation(std::unique_ptr<core::Db> own);
    // A workstation on a connection the test's logic already works on.
    explicit Workstation(core::Db& connection);
    ~Workstation();
    Workstation(const Workstation&) = delete;
    Workstation& operator=(const Workstation&) = delete;

    core::Db& db() { return m_db; }
    void start(std::function<void(core::Db&)> command);
    // True once the command waits for a named lock; false when it ended without waiting.
    bool waitsAtNamedLock(core::Db& observer);
    // True once the command runs a statement on the table, whose row the test holds locked (InnoDB
    // does not list every such wait among its transactions); false when it ended first.
    bool waitsAtTable(core::Db& observer, const QString& table);
    // Waits for the command to end; rethrows what it threw.
    void finish();

private:
    bool waitsWhere(core::Db& observer, const QString& condition, const QString& what);

    std::unique_ptr<core::Db> m_own;
    core::Db& m_db;
    std::atomic<bool> m_done{false};
    std::exception_ptr m_failure;
    std::thread m_thread;
};

// The other workstation half-way through a command that checks a value and then writes it: it holds
// the named lock of that check and has written its value, not yet committed. finish() commits and
// lets the lock go.
class HalfDoneCommand
{
public:
    HalfDoneCommand(core::Db& db, const QString& lock, const QString& write, const core::Params& params = {});
    void finish();

private:
    std::unique_ptr<core::NamedLock> m_lock;
    std::unique_ptr<core::Transaction> m_transaction;
};

// Holds a workstation in the middle of its command: a trigger made by the test makes every insert into
// the table wait at a named lock that the test holds until the gate goes.
class InsertGate
{
public:
    InsertGate(core::Db& db, const QString& table);
    ~InsertGate();
    InsertGate(const InsertGate&) = delete;
    InsertGate& operator=(const InsertGate&) = delete;

    // Lets the waiting insert go on, the trigger staying until the gate goes: dropping it while the
    // workstations still work on the table would make them wait for it.
    void open();

private:
    core::Db& m_db;
};

} // namespace carvendo::testing
