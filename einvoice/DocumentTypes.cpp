#include "einvoice/DocumentTypes.h"

#include <array>

namespace carvendo::einvoice {

namespace {

constexpr std::array documentTypes{
    DocumentType{"I", "TD01"},
    DocumentType{"D", "TD24"},
};

} // namespace

const DocumentType* documentTypeOf(const QString& tipoFattura)
{
    for (const DocumentType& type : documentTypes) {
        if (tipoFattura.trimmed().compare(QLatin1String(type.tipoFattura), Qt::CaseInsensitive) == 0)
            return &type;
    }
    return nullptr;
}

} // namespace carvendo::einvoice
