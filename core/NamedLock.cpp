#include "core/NamedLock.h"

#include "core/Db.h"

namespace carvendo::core {

namespace {

// Seconds a workstation waits for another one to finish the same check and write.
constexpr int kLockTimeoutSeconds = 15;

} // namespace

NamedLock::NamedLock(Db& db, const QString& name) : m_db(db), m_name(QStringLiteral("blocco.") + name)
{
    if (!m_db.acquireLock(m_name, kLockTimeoutSeconds))
        throw DbError(busyMessage());
}

NamedLock::~NamedLock()
{
    try {
        m_db.releaseLock(m_name); // inside a transaction: when it ends
    } catch (const DbError&) {
        // A connection that is gone has released its locks with it.
    }
}

QString NamedLock::busyMessage()
{
    return QStringLiteral("Un'altra postazione sta salvando gli stessi dati. Riprovare tra qualche istante.");
}

bool addLookupValue(Db& db, const QString& table, const QString& column, const QString& value)
{
    const Params params{{QStringLiteral("VALORE"), value}};
    NamedLock lock(db, table);
    Transaction transaction(db);
    const bool known =
        !db.query(QStringLiteral("SELECT 1 FROM `%1` WHERE `%2` = :VALORE LIMIT 1").arg(table, column),
                  params)
             .isEmpty();
    if (!known)
        db.exec(QStringLiteral("INSERT INTO `%1` (`%2`) VALUES (:VALORE)").arg(table, column), params);
    transaction.commit();
    return !known;
}

} // namespace carvendo::core
