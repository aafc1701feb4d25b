#pragma once

#include "stock/sizes/GridCells.h"

#include <QString>

namespace carvendo::core {
class Db;
class Dialogs;
class ReportOutput;
} // namespace carvendo::core

namespace carvendo::stock {

// The logic of TTCEdit: one cell of the size/colour grid, its barcode and quantity, and its shelf
// label. The cell is the grid row's key and the size; the size picks the columns from the fixed list
// TG1..TG30 / BAR1..BAR30 (a column name is never a bound value: that reads the name's own text).
class TCEdit
{
public:
    TCEdit(core::Db& db, core::Dialogs& dialogs, core::ReportOutput& reports);

    // False, after telling the operator, when the grid row is gone.
    bool open(int gridRowId, int size);

    const GridCell& cell() const { return m_cell; }
    const QString& itemCode() const { return m_code; }
    const QString& itemDescription() const { return m_description; }

    // The label (template "EtichettaTC"): item, colour, size, price and the cell barcode drawn.
    bool printLabel();

private:
    core::Db& m_db;
    core::Dialogs& m_dialogs;
    core::ReportOutput& m_reports;
    GridCell m_cell;
    QString m_code;
    QString m_description;
    double m_price = 0;
};

} // namespace carvendo::stock
