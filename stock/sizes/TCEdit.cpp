#include "stock/sizes/TCEdit.h"

#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/Money.h"
#include "core/ReportOutput.h"
#include "stock/sizes/SizeGroup.h"

namespace carvendo::stock {

TCEdit::TCEdit(core::Db& db, core::Dialogs& dialogs, core::ReportOutput& reports)
    : m_db(db), m_dialogs(dialogs), m_reports(reports)
{
}

bool TCEdit::open(int gridRowId, int size)
{
    if (size < 1 || size > kSizeCount) {
        m_dialogs.warning(QStringLiteral("Taglia non prevista dal gruppo taglie dell'articolo"));
        return false;
    }
    const core::Rows rows = m_db.query(
        QStringLiteral("SELECT d.idarticolo, d.Colore, d.idmagazzino, d.Magazzino, d.Gruppo_taglia, "
                       "d.%1 AS barcode, d.%2 AS quantita, a.CodArticolo, a.Descrizione, a.Pubblico "
                       "FROM disptc d LEFT JOIN articoli a ON a.ID = d.idarticolo WHERE d.id = :ID")
            .arg(barcodeColumn(size), quantityColumn(size)),
        {{QStringLiteral("ID"), gridRowId}});
    if (rows.isEmpty()) {
        m_dialogs.warning(QStringLiteral("La riga di disponibilità non esiste più"));
        return false;
    }
    const core::Row row = rows.first();
    m_cell = GridCell{};
    m_cell.rowId = gridRowId;
    m_cell.itemId = row["idarticolo"].toInt();
    m_cell.colour = row["Colore"].toString();
    m_cell.size = size;
    m_cell.sizeLabel = SizeGroup::byName(m_db, row["Gruppo_taglia"].toString()).label(size);
    m_cell.warehouseId = row["idmagazzino"].toInt();
    m_cell.warehouse = row["Magazzino"].toString();
    m_cell.barcode = row["barcode"].toString();
    m_cell.quantity = row["quantita"].toInt();
    m_code = row["CodArticolo"].toString();
    m_description = row["Descrizione"].toString();
    m_price = row["Pubblico"].toDouble();
    return true;
}

bool TCEdit::printLabel()
{
    core::ReportRequest request;
    request.templateName = QStringLiteral("EtichettaTC");
    request.values.insert(QStringLiteral("codice"), m_code);
    request.values.insert(QStringLiteral("descrizione"), m_description);
    request.values.insert(QStringLiteral("colore"), m_cell.colour);
    request.values.insert(QStringLiteral("taglia"), m_cell.sizeLabel);
    request.values.insert(QStringLiteral("barcode"), m_cell.barcode);
    request.values.insert(QStringLiteral("prezzo"), core::Money::fromDouble(m_price).toItalian());
    request.title = QStringLiteral("Etichetta taglia e colore");
    // A print that fails is told by the window's command, like any other failure.
    m_reports.preview(request);
    return true;
}

} // namespace carvendo::stock
