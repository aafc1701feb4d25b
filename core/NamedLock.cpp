#include "core/NamedLock.h"

#include "core/Db.h"

namespace carvendo::core {

namespace {

// Seconds a workstation waits for another one to finish the same check and write.
constexpr int kLockTimeoutSeconds = 15;

} // namespace

NamedLock::NamedLock(Db& db, const QString& name) : m_db(db), m_name(name)
{
    // One lock per company database; hashed because lock names are at most 64 characters.
    const Field got = m_db.scalar(
        QStringLiteral("SELECT GET_LOCK(SHA1(CONCAT('carvendo-blocco.', DATABASE(), '.', :NOME)), :ATTESA)"),
        {{QStringLiteral("NOME"), m_name}, {QStringLiteral("ATTESA"), kLockTimeoutSeconds}});
    if (got.toInt() != 1)
        throw DbError(busyMessage());
}

NamedLock::~NamedLock()
{
    try {
        m_db.scalar(
            QStringLiteral("SELECT RELEASE_LOCK(SHA1(CONCAT('carvendo-blocco.', DATABASE(), '.', :NOME)))"),
            {{QStringLiteral("NOME"), m_name}});
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
