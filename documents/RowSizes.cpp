#include "documents/RowSizes.h"

#include "stock/sizes/GridCells.h"
#include "stock/sizes/SizeColumns.h"
#include "stock/sizes/SizeGroup.h"

#include "core/Db.h"

#include <algorithm>

namespace carvendo::documents {

void RowSizes::giveBack(int documentId, int itemId, int warehouseId)
{
    const core::Params sold{{QStringLiteral("IDDOC"), documentId},
                            {QStringLiteral("TIPODOC"), m_kind},
                            {QStringLiteral("IDARTICOLO"), itemId}};
    const core::Rows cells = m_db.query(
        QStringLiteral(
            "SELECT colore, taglia, SUM(quantita) AS quantita FROM scaricotcdoc WHERE iddoc = :IDDOC "
            "AND tipodoc = :TIPODOC AND idarticolo = :IDARTICOLO GROUP BY colore, taglia"),
        sold);
    if (cells.isEmpty())
        return;
    const stock::SizeGroup group = stock::ItemSizeGroup::of(m_db, itemId).group;
    stock::GridCells grid(m_db);
    for (const core::Row& cell : cells) {
        const auto label = std::find(group.labels.begin(), group.labels.end(), cell["taglia"].toString());
        if (label == group.labels.end())
            continue; // the size left the group: there is no cell to put it back into
        const int size = int(label - group.labels.begin()) + 1;
        const core::Rows gridRow = m_db.query(
            QStringLiteral("SELECT id, %1 AS barcode FROM disptc WHERE idarticolo = :IDARTICOLO AND "
                           "idmagazzino = :IDMAGAZZINO AND Colore = :COLORE ORDER BY id LIMIT 1")
                .arg(stock::barcodeColumn(size)),
            {{QStringLiteral("IDARTICOLO"), itemId},
             {QStringLiteral("IDMAGAZZINO"), warehouseId},
             {QStringLiteral("COLORE"), cell["colore"].toString()}});
        if (gridRow.isEmpty())
            continue;
        stock::GridCell target;
        target.rowId = gridRow.first()["id"].toInt();
        target.itemId = itemId;
        target.size = size;
        target.barcode = gridRow.first()["barcode"].toString();
        grid.add(target, cell["quantita"].toInt());
    }
    m_db.exec(QStringLiteral(
                  "DELETE FROM scaricotcdoc WHERE iddoc = :IDDOC AND tipodoc = :TIPODOC AND idarticolo = "
                  ":IDARTICOLO"),
              sold);
}

void RowSizes::record(int documentId, int itemId, const QString& colour, const QString& size, int quantity,
                      const QString& description)
{
    m_db.exec(
        QStringLiteral("INSERT INTO scaricotcdoc (iddoc, tipodoc, idarticolo, colore, taglia, quantita, "
                       "Descrizione) VALUES (:IDDOC, :TIPODOC, :IDARTICOLO, LEFT(:COLORE, 50), LEFT(:TAGLIA, "
                       "4), :QUANTITA, LEFT(:DESCRIZIONE, 120))"),
        {{QStringLiteral("IDDOC"), documentId},
         {QStringLiteral("TIPODOC"), m_kind},
         {QStringLiteral("IDARTICOLO"), itemId},
         {QStringLiteral("COLORE"), colour},
         {QStringLiteral("TAGLIA"), size},
         {QStringLiteral("QUANTITA"), quantity},
         {QStringLiteral("DESCRIZIONE"), description}});
}

void RowSizes::giveBackAll(int documentId, int warehouseId)
{
    for (const core::Row& item : m_db.query(
             QStringLiteral("SELECT DISTINCT idarticolo FROM scaricotcdoc WHERE iddoc = :IDDOC AND tipodoc = "
                            ":TIPODOC"),
             {{QStringLiteral("IDDOC"), documentId}, {QStringLiteral("TIPODOC"), m_kind}}))
        giveBack(documentId, item["idarticolo"].toInt(), warehouseId);
}

} // namespace carvendo::documents
