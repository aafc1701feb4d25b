#pragma once

#include <QString>

namespace carvendo::einvoice {

// The file's TipoDocumento of each kind of invoice the program exports, by the invoice's
// `TipoFattura`: a kind added later (the credit note) is one more row of this table. Kept on the
// stored value so the electronic invoice needs nothing of the documents that use it.
struct DocumentType
{
    const char* tipoFattura; // "I" immediate, "D" deferred
    const char* tipoDocumento;
};

// The row of an invoice's `TipoFattura`; nullptr for a kind that has no electronic invoice.
const DocumentType* documentTypeOf(const QString& tipoFattura);

} // namespace carvendo::einvoice
