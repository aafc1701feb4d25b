#pragma once

#include <QString>

namespace carvendo::registry {

// What a check of a typed code found: whether it is sound and the message shown to the operator.
// The checks only inform: a record may be saved with a code that does not pass.
struct CheckResult
{
    bool valid = false;
    QString message;
};

// Italian codice fiscale of a person: 16 letters and digits (lower case accepted) whose last
// character is the check letter. Codes with omocodia letters in place of digits are checked like
// any other. The windows check the field when it is not empty.
CheckResult checkCodiceFiscale(const QString& code);

// Italian partita IVA: 11 digits, the last one the check digit.
CheckResult checkPartitaIva(const QString& code);

// E-mail address: "Indirizzo valido\r\n", or "Indirizzo non valido\r\n" followed by the first
// reason found. Letters, digits, "@", ".", "_", "~" and "-" are allowed anywhere, "+" only before
// the "@".
CheckResult checkEmail(const QString& address);

} // namespace carvendo::registry
