#include "stock/CheckAndWriteLock.h"

namespace carvendo::stock {

namespace {

QString lockName(UniqueWrite what, int key)
{
    switch (what) {
    case UniqueWrite::WarehouseNames:
        return QStringLiteral("magazzini.Descrizione");
    case UniqueWrite::ItemSupplierRows:
        return QStringLiteral("articoli_fornitori.%1").arg(key);
    case UniqueWrite::SizeColourGrid:
        return QStringLiteral("disptc.%1").arg(key);
    }
    return {};
}

} // namespace

CheckAndWriteLock::CheckAndWriteLock(core::Db& db, UniqueWrite what, int key)
    : m_lock(db, lockName(what, key))
{
}

} // namespace carvendo::stock
