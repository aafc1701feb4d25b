#pragma once

#include "stock/serials/SerialContext.h"

namespace carvendo::core {
class Db;
}

namespace carvendo::stock {

// What a load does to its serials, inside the caller's open transaction (the load's own command).
namespace LoadSerials {
// A load row was removed: its serials stay in stock but can no longer be sold.
void blockRow(core::Db& db, int loadId, int itemId, const SerialActor& actor);
// The load was cancelled or deleted: its serials and lots go.
void deleteLoad(core::Db& db, int loadId, const SerialActor& actor);
} // namespace LoadSerials

} // namespace carvendo::stock
