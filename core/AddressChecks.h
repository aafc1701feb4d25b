#pragma once

#include <QString>

namespace carvendo::core {

// A country as electronic invoices name it: the two-letter code (IT), capitals after trimming.
bool isCountryCode(const QString& text);

// Why an e-mail or PEC address cannot be written to, or an empty text when it can. Letters, digits,
// "@", ".", "_", "~" and "-" are allowed anywhere, "+" only before the "@".
QString emailProblem(const QString& address);

} // namespace carvendo::core
