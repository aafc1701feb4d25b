#include "documents/ManualLineEntry.h"

#include "core/Dialogs.h"

namespace carvendo::documents {

std::optional<ManualLine> manualLineFrom(const ManualLineTexts& texts, core::Dialogs& dialogs)
{
    if (texts.description.trimmed().isEmpty()) {
        dialogs.warning(QStringLiteral("Inserire la descrizione"));
        return std::nullopt;
    }
    const std::optional<core::Money> quantity = core::Money::parse(texts.quantity.trimmed());
    if (!quantity || quantity->isZero() || quantity->isNegative()) {
        dialogs.warning(QStringLiteral("Inserire la Quantità!"));
        return std::nullopt;
    }
    const std::optional<core::Money> price = core::Money::parse(texts.price.trimmed());
    if (!price || price->isNegative()) {
        dialogs.warning(QStringLiteral("Inserire il prezzo di vendita!"));
        return std::nullopt;
    }
    ManualLine line;
    line.code = texts.code.trimmed().left(50);
    line.description = texts.description.trimmed();
    line.unit = texts.unit.trimmed().isEmpty() ? QStringLiteral("PZ") : texts.unit.trimmed();
    line.aliquota = texts.aliquota;
    line.quantity = quantity->toDouble();
    line.price = *price;
    line.priceIncludesVat = texts.priceIncludesVat;
    return line;
}

} // namespace carvendo::documents
