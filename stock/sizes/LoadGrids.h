#pragma once

#include <QString>

namespace carvendo::core {
class Db;
} // namespace carvendo::core

// What a load does with its size/colour grids, inside the caller's open transaction (each function
// also runs alone in a transaction of its own). Work rows belong to one load window (`proprietario`)
// and one load: nothing here reads or deletes another window's rows.
namespace carvendo::stock::LoadGrids {

// Saving the load: the owner's work rows of this load go into the grid of the LOAD's warehouse (added
// to an existing colour row, or a new row with 30 new cell barcodes), one `caricotcdoc` row per size
// with something loaded, and the work rows are deleted.
void post(core::Db& db, const QString& owner, int loadId, int warehouseId, const QString& warehouseName);

// A row removed or the load cancelled before saving: the owner's work rows of that item (0: all of
// them) are deleted.
void discard(core::Db& db, const QString& owner, int itemId = 0);

// A saved load (or one item of it) deleted: the cells it raised are lowered by what `caricotcdoc`
// says it brought, and those `caricotcdoc` rows are deleted. warehouseId, when not 0, limits the
// lowering to that warehouse's grid.
void undo(core::Db& db, int loadId, int itemId = 0, int warehouseId = 0);

} // namespace carvendo::stock::LoadGrids
