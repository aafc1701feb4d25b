#include "stock/sizes/LoadGrids.h"

#include "core/Db.h"
#include "core/Numbering.h"
#include "stock/CheckAndWriteLock.h"
#include "stock/sizes/GridCells.h"
#include "stock/sizes/SizeGroup.h"

#include <QHash>
#include <QStringList>

#include <array>

namespace carvendo::stock::LoadGrids {

namespace {

using Quantities = std::array<int, kSizeCount>;

Quantities quantitiesOf(const core::Row& row)
{
    Quantities quantities{};
    for (int size = 1; size <= kSizeCount; ++size)
        quantities[size - 1] = row[quantityColumn(size)].toInt();
    return quantities;
}

QString assignments(const QString& separator, const QString& pattern)
{
    QStringList parts;
    for (int size = 1; size <= kSizeCount; ++size)
        parts << pattern.arg(quantityColumn(size));
    return parts.join(separator);
}

// The barcodes of the grid row of one item, colour and warehouse: the row's, raised by the work row,
// or a new row with thirty new cell barcodes, one per size whether loaded or not (a size loaded later
// keeps the barcode its label was printed with).
std::array<QString, kSizeCount> raiseGridRow(core::Db& db, const core::Row& work,
                                             const Quantities& quantities, int warehouseId,
                                             const QString& warehouseName)
{
    const int itemId = work["idarticolo"].toInt();
    const QString colour = work["Colore"].toString();
    // Two workstations posting the same new colour would both insert a row: the check and the insert
    // take turns. The read is a locking one, so it sees a row committed after this transaction began.
    CheckAndWriteLock lock(db, UniqueWrite::SizeColourGrid, itemId);
    const core::Rows existing = db.query(
        QStringLiteral(
            "SELECT id, %1 FROM disptc WHERE idarticolo = :IDARTICOLO AND idmagazzino = :IDMAGAZZINO "
            "AND Colore = :COLORE ORDER BY id LIMIT 1 FOR UPDATE")
            .arg(barcodeColumnList()),
        {{QStringLiteral("IDARTICOLO"), itemId},
         {QStringLiteral("IDMAGAZZINO"), warehouseId},
         {QStringLiteral("COLORE"), colour}});
    std::array<QString, kSizeCount> barcodes{};
    core::Params params;
    for (int size = 1; size <= kSizeCount; ++size)
        params.insert(quantityColumn(size), quantities[size - 1]);
    if (!existing.isEmpty()) {
        for (int size = 1; size <= kSizeCount; ++size)
            barcodes[size - 1] = existing.first()[barcodeColumn(size)].toString();
        params.insert(QStringLiteral("ID"), existing.first()["id"].toInt());
        db.exec(QStringLiteral("UPDATE disptc SET %1 WHERE id = :ID")
                    .arg(assignments(QStringLiteral(", "), QStringLiteral("%1 = COALESCE(%1, 0) + :%1"))),
                params);
        return barcodes;
    }
    core::BarcodeIssuer issuer(db);
    for (int size = 1; size <= kSizeCount; ++size) {
        barcodes[size - 1] = issuer.issue(core::BarcodeKind::Taglia);
        params.insert(barcodeColumn(size), barcodes[size - 1]);
    }
    params.insert(QStringLiteral("IDARTICOLO"), itemId);
    params.insert(QStringLiteral("IDGRUPPOTAGLIA"), work["idgruppotaglia"].toInt());
    params.insert(QStringLiteral("GRUPPOTAGLIA"), work["Gruppotaglia"].toString());
    params.insert(QStringLiteral("COLORE"), colour);
    params.insert(QStringLiteral("COLORECODICE"), work["ColoreCodice"].toInt());
    params.insert(QStringLiteral("IDMAGAZZINO"), warehouseId);
    params.insert(QStringLiteral("MAGAZZINO"), warehouseName);
    db.exec(
        QStringLiteral("INSERT INTO disptc (idarticolo, idgruppotaglia, Gruppo_taglia, Colore, ColoreCodice, "
                       "idmagazzino, Magazzino, %1, %2) VALUES (:IDARTICOLO, :IDGRUPPOTAGLIA, :GRUPPOTAGLIA, "
                       ":COLORE, :COLORECODICE, :IDMAGAZZINO, :MAGAZZINO, %3, %4)")
            .arg(quantityColumnList(), barcodeColumnList(), quantityColumnList(QStringLiteral(":")),
                 barcodeColumnList(QStringLiteral(":"))),
        params);
    return barcodes;
}

// What the load brought of one colour: a row per size with something loaded, with the size's label
// and cell barcode (labels are printed from these).
void recordLoaded(core::Db& db, int loadId, const core::Row& work, const Quantities& quantities,
                  const SizeGroup& group, const std::array<QString, kSizeCount>& barcodes)
{
    QStringList values;
    core::Params params{{QStringLiteral("IDCARICO"), loadId},
                        {QStringLiteral("IDARTICOLO"), work["idarticolo"].toInt()},
                        {QStringLiteral("COLORE"), work["Colore"].toString()}};
    for (int size = 1; size <= kSizeCount; ++size) {
        if (quantities[size - 1] <= 0)
            continue;
        values
            << QStringLiteral("(:IDCARICO, :IDARTICOLO, :COLORE, :TAGLIA%1, :QUANTITA%1, :BAR%1)").arg(size);
        params.insert(QStringLiteral("TAGLIA%1").arg(size), group.label(size));
        params.insert(QStringLiteral("QUANTITA%1").arg(size), quantities[size - 1]);
        params.insert(QStringLiteral("BAR%1").arg(size), barcodes[size - 1]);
    }
    if (values.isEmpty())
        return;
    db.exec(QStringLiteral(
                "INSERT INTO caricotcdoc (idcarico, idarticolo, colore, taglia, quantita, bar_etichetta) "
                "VALUES %1")
                .arg(values.join(QStringLiteral(", "))),
            params);
}

} // namespace

void post(core::Db& db, const QString& owner, int loadId, int warehouseId, const QString& warehouseName)
{
    core::Transaction transaction(db);
    const core::Params mine{{QStringLiteral("PROPRIETARIO"), owner}, {QStringLiteral("IDCARICO"), loadId}};
    const core::Rows work = db.query(
        QStringLiteral(
            "SELECT * FROM caricotc WHERE proprietario = :PROPRIETARIO AND idcarico = :IDCARICO ORDER BY id"),
        mine);
    QHash<QString, SizeGroup> groups;
    for (const core::Row row : work) {
        const QString groupName = row["Gruppotaglia"].toString();
        if (!groups.contains(groupName))
            groups.insert(groupName, SizeGroup::byName(db, groupName));
        const Quantities quantities = quantitiesOf(row);
        const auto barcodes = raiseGridRow(db, row, quantities, warehouseId, warehouseName);
        recordLoaded(db, loadId, row, quantities, groups.value(groupName), barcodes);
    }
    db.exec(
        QStringLiteral("DELETE FROM caricotc WHERE proprietario = :PROPRIETARIO AND idcarico = :IDCARICO"),
        mine);
    transaction.commit();
}

void discard(core::Db& db, const QString& owner, int itemId)
{
    core::Params params{{QStringLiteral("PROPRIETARIO"), owner}};
    QString sql = QStringLiteral("DELETE FROM caricotc WHERE proprietario = :PROPRIETARIO");
    if (itemId != 0) {
        sql += QStringLiteral(" AND idarticolo = :IDARTICOLO");
        params.insert(QStringLiteral("IDARTICOLO"), itemId);
    }
    db.exec(sql, params);
}

void undo(core::Db& db, int loadId, int itemId, int warehouseId)
{
    core::Transaction transaction(db);
    core::Params params{{QStringLiteral("IDCARICO"), loadId}};
    QString which = QStringLiteral("idcarico = :IDCARICO");
    if (itemId != 0) {
        which += QStringLiteral(" AND idarticolo = :IDARTICOLO");
        params.insert(QStringLiteral("IDARTICOLO"), itemId);
    }
    // Locking read: a second workstation deleting the same load waits, then finds nothing to take back.
    const core::Rows loaded = db.query(
        QStringLiteral("SELECT quantita, bar_etichetta FROM caricotcdoc WHERE %1 FOR UPDATE").arg(which),
        params);
    GridCells cells(db);
    for (const core::Row row : loaded) {
        const std::optional<GridCell> cell = cells.find(row["bar_etichetta"].toString());
        if (cell && (warehouseId == 0 || cell->warehouseId == warehouseId))
            cells.add(*cell, -row["quantita"].toInt());
    }
    db.exec(QStringLiteral("DELETE FROM caricotcdoc WHERE %1").arg(which), params);
    transaction.commit();
}

} // namespace carvendo::stock::LoadGrids
