#pragma once

#include <QString>

namespace carvendo::core {

class Db;

// A named server lock of the company database, held while the object lives, so that two
// workstations checking a value and then writing it take turns. Take it before the command's
// transaction begins (the transaction then reads what the other workstation committed); let go
// inside a transaction, it is released when the transaction ends. Throws DbError when another
// workstation keeps it too long.
class NamedLock
{
public:
    NamedLock(Db& db, const QString& name);
    ~NamedLock();
    NamedLock(const NamedLock&) = delete;
    NamedLock& operator=(const NamedLock&) = delete;

    static QString busyMessage();

private:
    Db& m_db;
    QString m_name;
};

// Adds a value to a lookup table (categories, lines, seasons...) unless a row holds it already:
// check and insert under one lock, so two workstations adding the same value add it once. True
// when the row was added. Table and column are the caller's fixed names.
bool addLookupValue(Db& db, const QString& table, const QString& column, const QString& value);

} // namespace carvendo::core
