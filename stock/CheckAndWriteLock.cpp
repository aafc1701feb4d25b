#include "stock/CheckAndWriteLock.h"

#include "core/Db.h"

namespace carvendo::stock {

namespace {

// Seconds a workstation waits for another one writing the same rows.
constexpr int kWaitSeconds = 15;

QString lockName(UniqueWrite what, int key)
{
    switch (what) {
    case UniqueWrite::WarehouseNames:
        return QStringLiteral("magazzini.Descrizione");
    case UniqueWrite::ItemSupplierRows:
        return QStringLiteral("articoli_fornitori.%1").arg(key);
    }
    return {};
}

} // namespace

CheckAndWriteLock::CheckAndWriteLock(core::Db& db, UniqueWrite what, int key)
    : m_db(db), m_name(lockName(what, key))
{
    // One lock per company database; hashed because lock names are at most 64 characters.
    const core::Field got = m_db.scalar(
        QStringLiteral("SELECT GET_LOCK(SHA1(CONCAT('carvendo-unico.', DATABASE(), '.', :NOME)), :ATTESA)"),
        {{QStringLiteral("NOME"), m_name}, {QStringLiteral("ATTESA"), kWaitSeconds}});
    if (got.toInt() != 1)
        throw core::DbError(QStringLiteral(
            "Un'altra postazione sta modificando gli stessi dati. Riprovare tra qualche istante."));
}

CheckAndWriteLock::~CheckAndWriteLock()
{
    try {
        m_db.scalar(
            QStringLiteral("SELECT RELEASE_LOCK(SHA1(CONCAT('carvendo-unico.', DATABASE(), '.', :NOME)))"),
            {{QStringLiteral("NOME"), m_name}});
    } catch (const core::DbError&) {
        // A connection that is gone has released its locks with it.
    }
}

} // namespace carvendo::stock
