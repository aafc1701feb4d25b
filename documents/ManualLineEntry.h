#pragma once

#include "documents/SalesDocument.h"

#include <optional>

namespace carvendo::core {
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
};

// The manual line the texts make, or nothing after telling the operator what is missing (the dialog
// stays open).
std::optional<ManualLine> manualLineFrom(const ManualLineTexts& texts, core::Dialogs& dialogs);

} // namespace carvendo::documents
