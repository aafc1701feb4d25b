#pragma once

namespace carvendo::core {
class Db;
struct Warehouse;
} // namespace carvendo::core

namespace carvendo::stock {

// Birth and death of an item: the new empty item with its defaults, the copy of an item, and the
// removal of an item with its stock rows. Every command is one transaction.
class ItemLifecycle
{
public:
    explicit ItemLifecycle(core::Db& db);

    // A new item with the defaults of a new card (the first department and its VAT rate) and one
    // stock row at 0 in the current warehouse. Returns the new `ID`.
    int createNew(const core::Warehouse& current);
    // A copy of the item with a stock row at 0 in the current warehouse. Returns the copy's `ID`,
    // or 0 when there is no such item (nothing is written then).
    int duplicate(int idArticolo, const core::Warehouse& current);
    // The item and its stock rows. Loads, sales and returns keep their own copies of the item.
    void remove(int idArticolo);
    // A new item whose card was left without saving: removed with everything its card made (stock
    // rows, supplier rows).
    void discardNew(int idArticolo);

private:
    void addStockRow(int idArticolo, const core::Warehouse& current);

    core::Db& m_db;
};

} // namespace carvendo::stock
