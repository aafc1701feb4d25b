#include "documents/ManualLineEntry.h"

#include "core/Db.h"
#include "core/Dialogs.h"

namespace carvendo::documents {

QList<ZeroRateCode> zeroRateCodes(core::Db& db)
{
    QList<ZeroRateCode> codes;
    for (const core::Row& r :
         db.query(QStringLiteral("SELECT IFNULL(NULLIF(TRIM(`Desc`), ''), TRIM(Codice)) AS Codice, "
                                 "TRIM(Natura) AS Natura FROM iva "
                                 "WHERE Iva = 0 AND TRIM(IFNULL(Natura, '')) <> '' ORDER BY idIva")))
        if (!r["Codice"].toString().isEmpty())
            codes.append({r["Codice"].toString(), r["Natura"].toString()});
    return codes;
}

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
    if (texts.aliquota == 0)
        line.vatCode = texts.vatCode.trimmed();
    line.quantity = quantity->toDouble();
    line.price = *price;
    line.priceIncludesVat = texts.priceIncludesVat;
    return line;
}

} // namespace carvendo::documents
