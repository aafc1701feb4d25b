#pragma once

#include "core/Db.h"

#include <QString>

namespace carvendo::testing {

// A server error made by the test: while the object lives, every write of that kind on the table fails
// with failingWriteMessage(), as a full disk or a lost connection would half-way through a command.
class FailingWrite
{
public:
    enum class On
    {
        Insert,
        Update,
        Delete
    };

    FailingWrite(core::Db& db, On write, const QString& table);
    ~FailingWrite();
    FailingWrite(const FailingWrite&) = delete;
    FailingWrite& operator=(const FailingWrite&) = delete;

private:
    core::Db& m_db;
    QString m_trigger;
};

// What the failed write reports.
QString failingWriteMessage();

} // namespace carvendo::testing
