#include "stock/sizes/GridCells.h"

#include "core/Db.h"
#include "stock/sizes/SizeColumns.h"

#include <QStringList>

namespace carvendo::stock {

namespace {

// One statement finds the row by any of its thirty barcode columns (each has an index) and brings
// the size labels of the row's group with it.
const QString& findStatement()
{
    static const QString sql = [] {
        QStringList labels;
        QStringList matches;
        for (int size = 1; size <= kSizeCount; ++size) {
            labels << QStringLiteral("t.%1 AS ETICHETTA%2").arg(quantityColumn(size)).arg(size);
            matches << QStringLiteral("d.%1 = :BARCODE").arg(barcodeColumn(size));
        }
        return QStringLiteral(
                   "SELECT d.*, %1 FROM disptc d LEFT JOIN taglie_tc t ON t.DESCRIZIONE = d.Gruppo_taglia "
                   "WHERE (%2) AND (:IDMAGAZZINO = 0 OR d.idmagazzino = :IDMAGAZZINO) ORDER BY d.id, "
                   "t.IDTAGLIA LIMIT 1")
            .arg(labels.join(QStringLiteral(", ")), matches.join(QStringLiteral(" OR ")));
    }();
    return sql;
}

} // namespace

std::optional<GridCell> GridCells::find(const QString& barcode, int warehouseId)
{
    const QString code = barcode.trimmed();
    if (code.isEmpty())
        return std::nullopt;
    const core::Rows rows = m_db.query(
        findStatement(), {{QStringLiteral("BARCODE"), code}, {QStringLiteral("IDMAGAZZINO"), warehouseId}});
    if (rows.isEmpty())
        return std::nullopt;
    const core::Row row = rows.first();
    for (int size = 1; size <= kSizeCount; ++size) {
        if (row[barcodeColumn(size)].toString() != code)
            continue;
        GridCell cell;
        cell.rowId = row["id"].toInt();
        cell.itemId = row["idarticolo"].toInt();
        cell.colour = row["Colore"].toString();
        cell.size = size;
        cell.sizeLabel = row[QStringLiteral("ETICHETTA%1").arg(size)].toString().trimmed();
        cell.warehouseId = row["idmagazzino"].toInt();
        cell.warehouse = row["Magazzino"].toString();
        cell.barcode = code;
        cell.quantity = row[quantityColumn(size)].toInt();
        return cell;
    }
    return std::nullopt; // the server compared with trailing blanks ignored; the cell is not this one
}

std::optional<GridCell> GridCells::sellOne(const QString& barcode)
{
    std::optional<GridCell> cell = find(barcode);
    if (!cell)
        return std::nullopt;
    add(*cell, -1);
    cell->quantity -= 1;
    return cell;
}

void GridCells::add(const GridCell& cell, int delta)
{
    const QString quantity = quantityColumn(cell.size);
    m_db.exec(
        QStringLiteral("UPDATE disptc SET %1 = COALESCE(%1, 0) + :DELTA WHERE id = :ID AND %2 = :BARCODE")
            .arg(quantity, barcodeColumn(cell.size)),
        {{QStringLiteral("DELTA"), delta},
         {QStringLiteral("ID"), cell.rowId},
         {QStringLiteral("BARCODE"), cell.barcode}});
}

} // namespace carvendo::stock
