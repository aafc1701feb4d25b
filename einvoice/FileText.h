#pragma once

#include "core/Money.h"

#include <QString>

namespace carvendo::einvoice {

// Texts and numbers as the file's fields take them.

// Latin-1 text (the schema's "Latin" strings): letters outside the set become their base letter
// ("ł" has none and becomes '?'), typographic quotes and dashes their plain form, "€" "EUR"; line
// breaks and runs of spaces one space; trimmed and cut to maxLength characters.
QString latinText(const QString& text, int maxLength);
// The same within ASCII (codes, numbers, units): "è" becomes "e".
QString asciiText(const QString& text, int maxLength);

// "1234.50": a point, no thousands separator, at least minDecimals and at most maxDecimals decimals
// (trailing zeros beyond minDecimals dropped); rounded half to even to maxDecimals.
QString fileAmount(core::Money amount, int minDecimals = 2, int maxDecimals = 2);
// A quantity with 2 to 8 decimals ("3.00", "0.25").
QString fileQuantity(double quantity);
// A VAT or withholding rate with two decimals ("22.00").
QString fileRate(core::Money rate);

} // namespace carvendo::einvoice
