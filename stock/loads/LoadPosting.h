#pragma once

#include "core/Money.h"
#include "core/Rows.h"
#include "stock/loads/LoadHeader.h"

#include <functional>

namespace carvendo::core {
class Db;
class Session;
} // namespace carvendo::core

namespace carvendo::stock {

class LoadTracking;

// One item received: quantity, typed unit cost and the two discounts (percent).
struct LoadRowValues
{
    int idArticolo = 0;
    double quantita = 0;
    core::Money prezzo;
    core::Money sconto1;
    core::Money sconto2;
};

// What adding a row did, for the cost-change question.
struct PostedRow
{
    int rowId = 0;
    core::Money netCost;      // the row's unit cost
    core::Money previousCost; // the item's `PrezzoAcqnoiva` before
    LoadTotals totals;        // of the load with the row
    bool costChanged() const { return netCost != previousCost; }
};

// The rows of a load and what they do to stock, shared by the load window and the fast load. Every
// command is one transaction: the row, the purchase history, the item's stock mirror (relative,
// exact updates, so two workstations loading one item both count), the warehouse stock through the
// stock procedures in the LOAD's warehouse, the serials and grids (LoadTracking) and the totals are
// written together or not at all. Rows without an item (shipping costs) never move stock.
class LoadPosting
{
public:
    LoadPosting(core::Db& db, const core::Session& session, const LoadTracking& tracking);

    // Net unit cost: price less discount 1 (to four decimals, as the item card); discount 2 is recorded only.
    static core::Money netCost(core::Money price, core::Money discount1);

    // Adds the item to the load (to its row when the load already holds the item). alsoWrite runs
    // inside the row's transaction (a size/colour dialog's work rows).
    PostedRow addRow(int idCarico, const LoadRowValues& values,
                     const std::function<void(core::Db&, const LoadHeader&)>& alsoWrite = {});
    // Removes the row with its purchase history; stock and mirror fall by its quantity.
    void removeRow(int idCarico, int rowId);
    // "Aggiuni/Rimuovi Quantità": d goes to the item's stock mirror only (the warehouse stock is
    // repaired by the realignment); the row's subtotals and the totals are recomputed.
    void varyQuantity(int idCarico, int rowId, double d);
    // Shipping costs, VAT 21 included: a row "SPED" that moves no stock.
    void addShipping(int idCarico, core::Money amountWithVat);
    // The load cancelled or deleted: stock and mirror lowered by its rows, its purchase history,
    // rows, serials, grids, cash-book entries and header deleted. Refused when the load is gone.
    void discard(int idCarico);

    core::Rows rows(int idCarico);
    bool hasRows(int idCarico);

    static QString rowGoneMessage() { return QStringLiteral("La riga selezionata non esiste più."); }
    static QString shippingCode() { return QStringLiteral("SPED"); }

private:
    int writeRow(const LoadHeader& load, const core::Row& item, const LoadRowValues& values,
                 core::Money cost);
    void recordPurchase(const LoadHeader& load, const core::Row& item, const LoadRowValues& values,
                        core::Money cost);
    void raiseStock(const LoadHeader& load, int idArticolo, double quantity, core::Money cost);
    LoadTotals updateTotals(int idCarico);
    void moveMirror(int idArticolo, double quantity);

    core::Db& m_db;
    const core::Session& m_session;
    const LoadTracking& m_tracking;
};

} // namespace carvendo::stock
