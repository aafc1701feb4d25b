#pragma once

#include <QString>

#include <optional>

namespace carvendo::core {
class Db;
} // namespace carvendo::core

namespace carvendo::stock {

// How an item is sold compared with how it is stocked: its stock unit `UM`, its sale unit
// `UMVENDITA`, and whether it is sold in portions of `PorzValore`.
struct SaleUnits
{
    QString um;
    QString umVendita;
    bool porzioni = false;
    double porzValore = 0;
};

// How many sale units make one stock unit (1000 GR in a KG). Units are compared ignoring letter
// case and surrounding blanks; a pair the table does not know, and "PZ", count one to one.
double unitsPerStockUnit(const QString& um, const QString& umVendita);

// The stock quantity of a sold quantity: sold / f, or sold × portion size / f for an item sold in
// portions. Every document that sells an item takes its stock quantity from here.
double stockQuantity(double sold, const SaleUnits& units);
double stockQuantity(double sold, const QString& um, const QString& umVendita, bool porzioni,
                     double porzValore);

// The item's units as its row in `articoli` holds them; nothing for an item not in the catalogue.
std::optional<SaleUnits> saleUnitsOf(core::Db& db, int idArticolo);

// A quantity in stock units leaves the warehouse: the item's mirror (`giacenza`, `Disponibilita`)
// falls, then SCARICO_MAGAZZINO takes it from the warehouse — both or neither. A negative quantity
// comes back (a document row shrinking or going).
void unloadStockQuantity(core::Db& db, int idArticolo, int idMagazzino, double quantity);

// The stock side of a document row that sells an item from a warehouse: the item's mirror
// (`giacenza`, `Disponibilita`) falls by the stock quantity, then SCARICO_MAGAZZINO takes it from the
// warehouse — both or neither (one transaction, joining the caller's when there is one). Stock may
// go below zero. Returns the stock quantity moved; a row whose item is not in the catalogue (a
// free-text row, a deleted item) moves nothing and returns 0.
double unloadSoldQuantity(core::Db& db, int idArticolo, int idMagazzino, double sold);

} // namespace carvendo::stock
