#pragma once

#include <QString>

#include <optional>

namespace carvendo::core {
class Db;
} // namespace carvendo::core

namespace carvendo::stock {

// One cell of the size/colour grid `disptc`: a size of one colour of an item in one warehouse, with
// its own barcode.
struct GridCell
{
    int rowId = 0; // `disptc`.`id`
    int itemId = 0;
    QString colour;
    int size = 0; // 1..30: column TGi / BARi
    QString sizeLabel;
    int warehouseId = 0;
    QString warehouse;
    QString barcode;
    int quantity = 0; // as read (after sellOne: as left)
};

// Finds grid cells by their barcode and moves their quantity, inside the caller's transaction. The
// till and the documents sell a size/colour by scanning the cell's barcode; a deleted load takes
// back what it brought.
class GridCells
{
public:
    explicit GridCells(core::Db& db) : m_db(db) {}

    // The cell whose barcode this is (the first of the row's columns that holds it), or nullopt. With a
    // warehouse, only that warehouse's row: a label is printed alike for every warehouse.
    std::optional<GridCell> find(const QString& barcode, int warehouseId = 0);
    // Lowers the scanned cell by one; the quantity may go negative (the shelf is what counts). nullopt
    // when no cell has this barcode.
    std::optional<GridCell> sellOne(const QString& barcode);
    // Adds delta (negative lowers) to the cell: a relative change, so two workstations moving the
    // same cell at once both count.
    void add(const GridCell& cell, int delta);

private:
    core::Db& m_db;
};

} // namespace carvendo::stock
