#pragma once

#include "core/Rows.h"
#include "stock/sizes/GridCells.h"
#include "stock/sizes/SizeGroup.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace carvendo::core {
class Db;
class ReportOutput;
} // namespace carvendo::core

namespace carvendo::stock {

// The logic of TDisponibilitaTC: an item's size/colour grid, one row per colour and warehouse, the
// columns captioned by the item's size group; optionally one warehouse only.
class DisponibilitaTC
{
public:
    DisponibilitaTC(core::Db& db, core::ReportOutput& reports);

    // Reads the item, its size group and its grid; throws a refusal when it has no size group.
    void open(int itemId);
    void filterByWarehouse(int warehouseId); // 0: every warehouse

    const ItemSizeGroup& item() const { return m_item; }
    QStringList sizeLabels() const { return m_item.group.shownLabels(); }
    int warehouseFilter() const { return m_warehouseId; }
    // `disptc` rows: id, Magazzino, Colore, TG1..TG30, BAR1..BAR30.
    const core::Rows& rows() const { return m_rows; }
    struct Warehouse
    {
        int id;
        QString name;
    };
    QList<Warehouse> warehouses();

    // The cell under a grid row and size (1..n), nullopt outside the grid.
    std::optional<GridCell> cell(int row, int size) const;
    // What clicking a cell shows: "Taglia M - Barcode 6401002001004 - Quantità 3".
    QString cellText(int row, int size) const;

    // The grid as shown, in the print preview ("DisponibilitaTC" template); false, after telling
    // the operator, when it could not be printed.
    bool print();

private:
    void load();

    core::Db& m_db;
    core::ReportOutput& m_reports;
    ItemSizeGroup m_item;
    int m_warehouseId = 0;
    core::Rows m_rows;
};

} // namespace carvendo::stock
