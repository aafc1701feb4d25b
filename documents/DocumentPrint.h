#pragma once

#include "documents/DocumentKind.h"

#include "core/ReportRequest.h"

namespace carvendo::core {
class Db;
}

namespace carvendo::documents {

// What a document's print is given: datasets "Testata" (the header), "Righe" (its rows), "Banca" (the
// bank, empty when none is chosen) and "Iva" (the VAT summary, one line per rate the rows really
// carry), and the withholding memos only when the document has a withholding.
class DocumentPrint
{
public:
    DocumentPrint(core::Db& db, const DocumentKind& kind) : m_db(db), m_kind(kind) {}

    static QStringList withholdingMemos(); // "Memo_Ra_Importo", "Memo_RA_Desc", "Memo_TotDaPagare"

    core::ReportRequest request(int documentId, const QString& templateName) const;

private:
    core::Db& m_db;
    const DocumentKind& m_kind;
};

} // namespace carvendo::documents
