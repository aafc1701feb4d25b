#pragma once

#include "documents/SalesDocument.h"

#include <QList>

#include <optional>

namespace carvendo::core {
class Db;
class Dialogs;
} // namespace carvendo::core

namespace carvendo::documents {

// What the manual-line dialog (Tinsmanuale) holds, as typed.
struct ManualLineTexts
{
    QString code;
    QString description;
    QString unit;
    int aliquota = 22;
    QString quantity;
    QString price;
    bool priceIncludesVat = true;
    QString vatCode; // at 0%: the VAT code chosen (`iva`.`Desc`)
};

// A VAT code at 0% a manual line can be sold under, with its nature.
struct ZeroRateCode
{
    QString code; // its description, or its code when it has none
    QString nature;
};

// The VAT codes at 0% with a nature, the one a row without a code of its own takes first.
QList<ZeroRateCode> zeroRateCodes(core::Db& db);

// The manual line the texts make, or nothing after telling the operator what is missing (the dialog
// stays open).
std::optional<ManualLine> manualLineFrom(const ManualLineTexts& texts, core::Dialogs& dialogs);

} // namespace carvendo::documents
