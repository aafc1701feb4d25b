#pragma once

#include "core/NamedLock.h"

namespace carvendo::stock {

// What a uniqueness check guards: the only texts that reach the lock's name.
enum class UniqueWrite
{
    WarehouseNames,   // `magazzini`.`Descrizione`
    ItemSupplierRows, // one supplier once per item in `articoli_fornitori` (the key: the item)
    SizeColourGrid,   // one `disptc` row per item, colour and warehouse (the key: the item)
};

// The named lock that keeps a stock uniqueness check and the write it allows together: a second
// workstation doing the same waits at the lock and then sees the first one's row. Old data may hold
// duplicates, so a unique index cannot be added. Make it before the command's Transaction so that
// it is let go only after the transaction has ended.
class CheckAndWriteLock
{
public:
    CheckAndWriteLock(core::Db& db, UniqueWrite what, int key = 0);

private:
    core::NamedLock m_lock;
};

} // namespace carvendo::stock
