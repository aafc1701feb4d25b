#include "stock/sizes/DisponibilitaTC.h"

#include "core/Db.h"
#include "core/ReportOutput.h"

namespace carvendo::stock {

DisponibilitaTC::DisponibilitaTC(core::Db& db, core::ReportOutput& reports) : m_db(db), m_reports(reports) {}

void DisponibilitaTC::open(int itemId)
{
    m_item = ItemSizeGroup::of(m_db, itemId);
    load();
}

void DisponibilitaTC::filterByWarehouse(int warehouseId)
{
    m_warehouseId = warehouseId;
    load();
}

void DisponibilitaTC::load()
{
    core::Params params{{QStringLiteral("IDARTICOLO"), m_item.itemId}};
    QString sql =
        QStringLiteral("SELECT id, Magazzino, Colore, %1, %2 FROM disptc WHERE idarticolo = :IDARTICOLO")
            .arg(quantityColumnList(), barcodeColumnList());
    if (m_warehouseId != 0) {
        sql += QStringLiteral(" AND idmagazzino = :IDMAGAZZINO");
        params.insert(QStringLiteral("IDMAGAZZINO"), m_warehouseId);
    }
    m_rows = m_db.query(sql + QStringLiteral(" ORDER BY Magazzino, Colore"), params);
}

QList<DisponibilitaTC::Warehouse> DisponibilitaTC::warehouses()
{
    QList<Warehouse> list;
    for (const core::Row row :
         m_db.query(QStringLiteral("SELECT idMagazzino, Descrizione FROM magazzini ORDER BY Descrizione")))
        list.append({row["idMagazzino"].toInt(), row["Descrizione"].toString()});
    return list;
}

std::optional<GridCell> DisponibilitaTC::cell(int row, int size) const
{
    if (row < 0 || row >= m_rows.size() || size < 1 || size > sizeLabels().size())
        return std::nullopt;
    const core::Row grid = m_rows[row];
    GridCell cell;
    cell.rowId = grid["id"].toInt();
    cell.itemId = m_item.itemId;
    cell.colour = grid["Colore"].toString();
    cell.size = size;
    cell.sizeLabel = m_item.group.label(size);
    cell.warehouse = grid["Magazzino"].toString();
    cell.barcode = grid[barcodeColumn(size)].toString();
    cell.quantity = grid[quantityColumn(size)].toInt();
    return cell;
}

QString DisponibilitaTC::cellText(int row, int size) const
{
    const std::optional<GridCell> shown = cell(row, size);
    if (!shown)
        return {};
    return QStringLiteral("Taglia %1 - Barcode %2 - Quantità %3")
        .arg(shown->sizeLabel, shown->barcode)
        .arg(shown->quantity);
}

bool DisponibilitaTC::print()
{
    core::ReportRequest request;
    request.templateName = QStringLiteral("DisponibilitaTC");
    request.datasets.emplace(QStringLiteral("disptc"), m_rows);
    const QStringList labels = sizeLabels();
    for (int size = 1; size <= labels.size(); ++size)
        request.values.insert(QStringLiteral("L%1").arg(size),
                              labels[size - 1].isEmpty() ? QStringLiteral("-") : labels[size - 1]);
    request.values.insert(QStringLiteral("articolo"), m_item.description);
    request.values.insert(QStringLiteral("gruppo"), m_item.group.name);
    request.title = QStringLiteral("Disponibilità per taglia e colore");
    // A print that fails is told by the window's command, like any other failure.
    m_reports.preview(request);
    return true;
}

} // namespace carvendo::stock
