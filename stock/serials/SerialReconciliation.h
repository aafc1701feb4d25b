#pragma once

#include "core/Rows.h"

namespace carvendo::core {
class Db;
}

namespace carvendo::stock {

// "Verifica seriali": the serial-tracked items whose sellable serials in a warehouse are not as many
// as their stock there (`giacenze`): a serial loaded without stock, a piece sold without its serial.
// Columns: idArticolo, CodArticolo, Descrizione, idMagazzino, Magazzino, Giacenza, Seriali, Differenza
// (serials less stock).
core::Rows serialStockMismatches(core::Db& db);

} // namespace carvendo::stock
