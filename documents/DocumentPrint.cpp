#include "documents/DocumentPrint.h"

#include "documents/DocumentRows.h"

#include "core/Db.h"

namespace carvendo::documents {

QStringList DocumentPrint::withholdingMemos()
{
    return {QStringLiteral("Memo_Ra_Importo"), QStringLiteral("Memo_RA_Desc"),
            QStringLiteral("Memo_TotDaPagare")};
}

core::ReportRequest DocumentPrint::request(int documentId, const QString& templateName) const
{
    const core::Params document{{QStringLiteral("IDDOC"), documentId}};
    const core::Rows header =
        m_db.query(QStringLiteral("SELECT * FROM %1 WHERE %2 = :IDDOC")
                       .arg(QLatin1String(m_kind.headerTable), QLatin1String(m_kind.headerKey)),
                   document);
    const DocumentRows rows(m_db, m_kind);
    core::ReportRequest request;
    request.templateName = templateName;
    request.title = QLatin1String(m_kind.title);
    request.datasets[QStringLiteral("Testata")] = header;
    request.datasets[QStringLiteral("Righe")] = rows.printedRows(documentId);
    request.datasets[QStringLiteral("Iva")] = rows.vatSummaryRows(documentId);
    // A document without a bank gets the empty bank row set, as the templates expect.
    const int bank =
        header.isEmpty() || header.columnIndex("idbanca") < 0 ? 0 : header.first()["idbanca"].toInt();
    request.datasets[QStringLiteral("Banca")] = m_db.query(
        QStringLiteral("SELECT * FROM banche WHERE idBanca = :IDBANCA"), {{QStringLiteral("IDBANCA"), bank}});
    request.setColumnKind(QStringLiteral("Righe"), core::PrintedNumber::Quantity,
                          {QStringLiteral("quantita")});
    const bool withholding = m_kind.adjustments && !header.isEmpty() && header.first()["ra"].toBool();
    if (!withholding)
        for (const QString& memo : withholdingMemos())
            request.hiddenMemos.insert(memo);
    return request;
}

} // namespace carvendo::documents
