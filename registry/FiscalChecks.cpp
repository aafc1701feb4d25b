#include "registry/FiscalChecks.h"

#include "core/AddressChecks.h"

namespace carvendo::registry {

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}
bool isAsciiUpper(QChar c)
{
    return c >= u'A' && c <= u'Z';
}

// Worth of a character at an odd position (1, 3, ... 15) of a codice fiscale, indexed by the
// letter; a digit is worth what the letter in the same place is (0 as A, 1 as B, ... 9 as J).
constexpr int kOddValues[26] = {1,  0,  5, 7, 9, 13, 15, 17, 19, 21, 2,  4,  18,
                                20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};

int letterIndex(QChar c)
{
    return isAsciiDigit(c) ? c.unicode() - u'0' : c.unicode() - u'A';
}

CheckResult invalid(const QString& message)
{
    return {false, message};
}

} // namespace

CheckResult checkCodiceFiscale(const QString& code)
{
    if (code.size() != 16)
        return invalid(QStringLiteral("La lunghezza del codice fiscale non è corretta: il codice fiscale "
                                      "dovrebbe essere lungo esattamente 16 caratteri."));
    const QString upper = code.toUpper();
    for (const QChar c : upper) {
        if (!isAsciiDigit(c) && !isAsciiUpper(c))
            return invalid(QStringLiteral("Il codice fiscale contiene dei caratteri non validi: i soli "
                                          "caratteri validi sono le lettere e le cifre."));
    }
    int sum = 0;
    for (int i = 0; i < 15; ++i) {
        const int index = letterIndex(upper[i]);
        // i is 0-based: i even is an odd position counted from 1.
        sum += (i % 2 == 0) ? kOddValues[index] : index;
    }
    if (QChar(u'A' + sum % 26) != upper[15])
        return invalid(
            QStringLiteral("Il codice fiscale non è corretto: il codice di controllo non corrisponde."));
    return {true, QStringLiteral("Il Codice Fiscale inserito è corretto")};
}

CheckResult checkPartitaIva(const QString& code)
{
    if (code.size() != 11)
        return invalid(QStringLiteral("La lunghezza della partita IVA non è corretta: la partita IVA "
                                      "dovrebbe essere lunga esattamente 11 caratteri."));
    for (const QChar c : code) {
        if (!isAsciiDigit(c))
            return invalid(QStringLiteral("La partita IVA contiene dei caratteri non ammessi: la partita IVA "
                                          "dovrebbe contenere solo cifre."));
    }
    int sum = 0;
    for (int i = 0; i < 10; ++i) {
        const int digit = code[i].unicode() - u'0';
        if (i % 2 == 0) {
            sum += digit;
        } else {
            const int doubled = digit * 2;
            sum += doubled > 9 ? doubled - 9 : doubled;
        }
    }
    const int check = (10 - sum % 10) % 10;
    if (check != code[10].unicode() - u'0')
        return invalid(
            QStringLiteral("La partita IVA non è valida: il codice di controllo non corrisponde."));
    return {true, QStringLiteral("La Partita IVA inserita è corretta")};
}

CheckResult checkEmail(const QString& address)
{
    const QString problem = core::emailProblem(address);
    if (!problem.isEmpty())
        return invalid(QStringLiteral("Indirizzo non valido\r\n") + problem);
    return {true, QStringLiteral("Indirizzo valido\r\n")};
}

} // namespace carvendo::registry
