#pragma once

#include "documents/DocumentKind.h"
#include "documents/DocumentRows.h"

#include <QString>

namespace carvendo::core {
class Db;
}

namespace carvendo::documents {

// The header facts a row's stock and sales record carry.
struct StockOwner
{
    int documentId = 0;
    int warehouseId = 0;
    QString warehouseName;
    int customerId = 0;
    QString customerName;
    QString operatorName;
    QString year, month;
};

// What a document row has done to stock. Its `venduti` row is the record of it: it holds the stock
// quantity the row moved (250 GR of a KG item: 0,25), in the warehouse it moved it from, so a
// quantity change moves only the difference and a removal gives back exactly what was moved, even
// when the item's units changed meanwhile. The stock rebuild of the items list counts `venduti`, so
// stock and record always move together, inside the caller's transaction.
class RowStock
{
public:
    RowStock(core::Db& db, const DocumentKind& kind) : m_db(db), m_kind(kind) {}

    // Brings the row's stock to its sold quantity (a new row moves all of it) and its record to its
    // amounts. Rows without an item, and kinds that move no stock, do nothing.
    void follow(const StockOwner& owner, const DocumentRow& row);
    // The row goes: what it moved comes back to the warehouse it left, and its record goes.
    void giveBack(int documentId, const RowKey& key);
    // Every row of the document at once (discard, delete).
    void giveBackAll(int documentId);

private:
    struct Moved
    {
        double quantity = 0;
        int warehouseId = 0;
    };
    Moved movedBy(int documentId, const RowKey& key) const;
    void write(const StockOwner& owner, const DocumentRow& row, double stockQuantity, bool exists);

    core::Db& m_db;
    const DocumentKind& m_kind;
};

} // namespace carvendo::documents
