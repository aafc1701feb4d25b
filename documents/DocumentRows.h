#pragma once

#include "documents/DocumentKind.h"
#include "documents/RowPricing.h"

#include <QList>
#include <QString>

#include <optional>

namespace carvendo::core {
class Db;
class Rows;
} // namespace carvendo::core

namespace carvendo::documents {

// The detail tables have no key of their own: a document holds one row per item (one per serial for
// serialised items; manual lines get a code of their own), so item, code and serial name a row.
struct RowKey
{
    int itemId = 0;
    QString code;
    QString serial;

    bool operator==(const RowKey&) const = default;
};

struct DocumentRow
{
    RowKey key;
    QString barcode, description, unit;
    double quantity = 0;
    int aliquota = 0;
    // The VAT code (`iva`.`Desc` or `Codice`) a 0% row takes its nature from: the item's, or the one
    // chosen for a manual line. Written with a new row only.
    QString vatCode;
    int discountPercent = 0;
    RowAmounts amounts;
    bool bySerial = false;
    bool bySize = false;
};

// Who a row is written for: the header's number and counterpart, the operator.
struct RowOwner
{
    int number = 0;
    int counterpartId = 0;
    QString counterpartName;
    int operatorId = 0;
    QString operatorName;
};

struct RowSums
{
    Money subTotale, ivaSubtotale;
    int pieces = 0;
    int zeroRateRows = 0; // only these can make an invoice pay the stamp duty
};

// One line of the VAT summary: the rows of one rate.
struct VatLine
{
    int aliquota = 0;
    Money imponibile, iva;
};

// The rows of one document kind in its detail table: every statement about them is here.
class DocumentRows
{
public:
    DocumentRows(core::Db& db, const DocumentKind& kind) : m_db(db), m_kind(kind) {}

    QList<DocumentRow> list(int documentId) const;
    std::optional<DocumentRow> find(int documentId, const RowKey& key) const;
    bool codeTaken(int documentId, const QString& code) const;

    // Where the kind keeps it, a 0% row records its nature: that of its VAT code, else of the first
    // zero rate with one.
    void insert(int documentId, const RowOwner& owner, const DocumentRow& row);
    // Quantity, discount and amounts of the row named by its key.
    void update(int documentId, const DocumentRow& row);
    void remove(int documentId, const RowKey& key);
    void removeAll(int documentId);
    void renumber(int documentId, int number);

    RowSums sums(int documentId) const;
    // Grouped by the rows' own rates, lowest first: the lines add up to the rows' sums.
    QList<VatLine> vatSummary(int documentId) const;
    // The same lines as the print templates read them: Aliquota, Descrizione ("IVA 22%"), Imponibile, Iva.
    core::Rows vatSummaryRows(int documentId) const;
    // Every column, in the order they were added, with Seriali and TaglieColori: what each row sold
    // by serial and by size ("Nero tg. 42 x 2, ...").
    core::Rows printedRows(int documentId) const;

private:
    QString table() const;
    QString link() const;

    core::Db& m_db;
    const DocumentKind& m_kind;
};

} // namespace carvendo::documents
