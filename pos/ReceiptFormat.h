#pragma once

#include "core/Money.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace carvendo::pos {

// The number and text forms of the fiscal receipt lines. The driver reads these bytes as they
// stand, so every form here is fixed to the character.

// A price or discount amount: rounded to cents half away from zero, written as the Italian
// currency text without its "," "€" and blanks, the "." thousands separator kept:
// 12,50 -> "1250", 0,99 -> "099", 3 -> "300", 1 234,50 -> "1.23450".
QString receiptAmount(core::Money amount);

// A quantity as a whole number, halves to even: 2,5 -> "2", 3,5 -> "4".
qint64 receiptQuantity(double quantity);

// A code, description or fiscal code on a line: ";", CR and LF end a field or a line for the
// driver, so they become a blank; a character the driver's code page cannot hold becomes "?".
QString receiptText(QStringView text);

// The bytes of a receipt file: Windows-1252. Throws core::Error when a character has no
// Windows-1252 byte (texts that went through receiptText() always have one; the start line, a
// password from the settings, may not).
QByteArray toWindows1252(const QString& text);

} // namespace carvendo::pos
