#pragma once

#include "documents/DocumentKind.h"

#include "core/CompanyHeading.h"
#include "core/ReportRequest.h"

namespace carvendo::core {
class Db;
}

namespace carvendo::documents {

// What a document's print is given.
// Datasets:
//   "Testata"  the header row, every column;
//   "Righe"    its rows in the order they were added, every column plus PrezzoUnitario (the net unit
//              price before the row discount), ScontoRiga (the discount, empty when none), Seriali
//              (the serials the row sold) and TaglieColori (its sizes and colours);
//   "Iva"      the VAT summary, one line per rate the rows really carry (Aliquota, Descrizione
//              "IVA 22%", Imponibile, Iva), the document discount shared out so that it adds up to
//              the header's taxable total and VAT;
//   "Rate"     the instalments set on the header (Rata, Scadenza, Importo), none when not assigned;
//   "Banca"    the bank chosen on the header, empty when none;
//   "Seriali"  the document's serial links.
// Values: the shop's heading (core::CompanyHeading), numero ("7/A"), data, pagamento, banca, iban,
// destinazione (set when the goods go elsewhere than the customer's address), totalemerce, sconto
// and scontoperc (only with a document discount), imponibile, ivatotale, totaledocumento, ritenuta,
// ritenutaperc, ritenutadesc, nettoapagare, rate (set when there are instalments), bollo (an invoice's
// stamp duty, set when it pays one; the total includes it when the customer is charged it). Amounts are
// formatted "1.234,50". The withholding memos are hidden when the document has no withholding.
class DocumentPrint
{
public:
    DocumentPrint(core::Db& db, const DocumentKind& kind, core::CompanyHeading heading = {})
        : m_db(db), m_kind(kind), m_heading(std::move(heading))
    {
    }

    static QStringList withholdingMemos(); // "Memo_Ra_Importo", "Memo_RA_Desc", "Memo_TotDaPagare"

    core::ReportRequest request(int documentId, const QString& templateName) const;

private:
    core::Rows rows(int documentId) const;
    core::Rows vatSummary(int documentId, const core::Row& header) const;
    void addTotals(core::ReportRequest& request, const core::Row& header) const;
    void addStampDuty(core::ReportRequest& request, int documentId, const core::Row& header) const;

    core::Db& m_db;
    const DocumentKind& m_kind;
    core::CompanyHeading m_heading;
};

} // namespace carvendo::documents
