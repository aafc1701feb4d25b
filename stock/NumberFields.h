#pragma once

#include "core/Money.h"

#include <QString>

#include <optional>

namespace carvendo::stock {

// The numbers the operator types into the item card and its supplier grid, read the same way in
// both: "," and "." as decimal separators, an empty field as 0, and values outside what the field
// holds refused rather than cut down.
namespace NumberFields {

// A whole percent from 0 to 100: discounts, VAT rates.
std::optional<int> percent(const QString& text);
// A whole number from 0 to largestWhole(): markups and the like.
std::optional<qint64> wholeNumber(const QString& text);
// An amount; a cost may not be negative.
std::optional<core::Money> amount(const QString& text);
std::optional<core::Money> cost(const QString& text);

constexpr qint64 largestWhole()
{
    return 999999999;
}

QString discountRefusal();
QString vatRefusal();
QString costRefusal();
QString wholeNumberRefusal();
QString amountRefusal();

} // namespace NumberFields

} // namespace carvendo::stock
