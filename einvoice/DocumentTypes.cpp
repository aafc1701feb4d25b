#include "einvoice/DocumentTypes.h"

#include <array>
#include <cstring>

namespace carvendo::einvoice {

namespace {

using documents::DocumentKindId;

constexpr std::array documentTypes{
    DocumentType{DocumentKindId::FatturaImmediata, "TD01"},
    DocumentType{DocumentKindId::FatturaDifferita, "TD24"},
    DocumentType{DocumentKindId::NotaCredito, "TD04"},
};

} // namespace

const DocumentType* documentTypeOf(DocumentKindId kind)
{
    for (const DocumentType& type : documentTypes) {
        if (type.kind == kind)
            return &type;
    }
    return nullptr;
}

const documents::DocumentKind* invoiceKindOf(const QString& tipoFattura)
{
    for (const DocumentType& type : documentTypes) {
        const documents::DocumentKind& kind = documents::DocumentKind::of(type.kind);
        if (std::strcmp(kind.headerTable, "fatture") == 0 && kind.kindValue &&
            tipoFattura.compare(QLatin1String(kind.kindValue), Qt::CaseInsensitive) == 0)
            return &kind;
    }
    return nullptr;
}

} // namespace carvendo::einvoice
