#pragma once

#include <QtGlobal>

namespace carvendo::core {
class Db;
struct Warehouse;
} // namespace carvendo::core

namespace carvendo::stock {

// What an item's history says about its stock in one warehouse: loaded, sold and returned
// quantities as whole numbers, and the stock they give.
struct StockFigures
{
    qint64 caricato = 0;
    qint64 venduto = 0;
    qint64 reso = 0;

    qint64 stock() const { return caricato - venduto + reso; }
    bool operator==(const StockFigures&) const = default;
};

// Realignment of one item in one warehouse: the stock row is set to what the loads, sales and
// returns add up to (reservations held in `disponibilita` are dropped with it).
class StockRealignment
{
public:
    explicit StockRealignment(core::Db& db) : m_db(db) {}

    // The three sums, read in one statement.
    StockFigures figures(int idArticolo, int idMagazzino);
    // In one transaction, under the lock of the item's row in the warehouse: the sums, then
    // `giacenza` and `disponibilita` of the row set to the stock; a missing row is created with it.
    StockFigures realign(int idArticolo, const core::Warehouse& warehouse);

private:
    core::Db& m_db;
};

} // namespace carvendo::stock
