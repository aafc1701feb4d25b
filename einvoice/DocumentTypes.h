#pragma once

#include "documents/DocumentKind.h"

#include <QString>

namespace carvendo::einvoice {

// The file's TipoDocumento of each kind of document the program exports: a kind added later (the
// credit note) is one more row of this table.
struct DocumentType
{
    documents::DocumentKindId kind;
    const char* tipoDocumento;
};

// The row of a kind; nullptr for a kind that has no electronic invoice.
const DocumentType* documentTypeOf(documents::DocumentKindId kind);
// The kind of an invoice from its `TipoFattura` ("I", "D"); nullptr when no kind of `fatture` has it.
const documents::DocumentKind* invoiceKindOf(const QString& tipoFattura);

} // namespace carvendo::einvoice
