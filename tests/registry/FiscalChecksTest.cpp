#include "registry/FiscalChecks.h"

#include <gtest/gtest.h>

using namespace carvendo::registry;

namespace {

const QString kCfOk = QStringLiteral("Il Codice Fiscale inserito è corretto");
const QString kCfLength = QStringLiteral("La lunghezza del codice fiscale non è corretta: il codice fiscale "
                                         "dovrebbe essere lungo esattamente 16 caratteri.");
const QString kCfCharacters = QStringLiteral("Il codice fiscale contiene dei caratteri non validi: i soli "
                                             "caratteri validi sono le lettere e le cifre.");
const QString kCfCheck =
    QStringLiteral("Il codice fiscale non è corretto: il codice di controllo non corrisponde.");

const QString kPivaOk = QStringLiteral("La Partita IVA inserita è corretta");
const QString kPivaLength = QStringLiteral("La lunghezza della partita IVA non è corretta: la partita IVA "
                                           "dovrebbe essere lunga esattamente 11 caratteri.");
const QString kPivaCharacters = QStringLiteral(
    "La partita IVA contiene dei caratteri non ammessi: la partita IVA dovrebbe contenere solo cifre.");
const QString kPivaCheck =
    QStringLiteral("La partita IVA non è valida: il codice di controllo non corrisponde.");

struct Case
{
    const char* input; // UTF-8
    bool valid;
    QString message;
};

void expectAll(const std::vector<Case>& cases, CheckResult (*check)(const QString&))
{
    for (const Case& c : cases) {
        const CheckResult result = check(QString::fromUtf8(c.input));
        EXPECT_EQ(result.valid, c.valid) << c.input;
        EXPECT_EQ(result.message, c.message) << c.input;
    }
}

TEST(CodiceFiscaleCheck, RealCodesPassAndDamagedOnesAreTold)
{
    expectAll(
        {
            {"RSSMRA85T10A562S", true, kCfOk},
            // omocodia: digits replaced by letters from the right, the check letter changes with them
            {"RSSMRA85T10A56NH", true, kCfOk},
            // wrong check letter, omocodia letter without the new check letter
            {"RSSMRA85T10A562T", false, kCfCheck},
            {"RSSMRA85T10A56NS", false, kCfCheck},
            // length comes first
            {"", false, kCfLength},
            // then the characters
            {"RSSMRÀ85T10A562S", false, kCfCharacters},
        },
        checkCodiceFiscale);
}

TEST(PartitaIvaCheck, RealNumbersPassAndDamagedOnesAreTold)
{
    expectAll(
        {
            {"00743110157", true, kPivaOk},
            // all zeros: the check digit of zero is zero
            {"00000000000", true, kPivaOk},
            {"00743110158", false, kPivaCheck},
            {"", false, kPivaLength},
            {"0074311015A", false, kPivaCharacters},
        },
        checkPartitaIva);
}

TEST(EmailCheck, ReasonsComeInTheirOrder)
{
    const QString ok = QStringLiteral("Indirizzo valido\r\n");
    const QString no = QStringLiteral("Indirizzo non valido\r\n");
    expectAll(
        {
            // hyphens and a "+" tag before the "@" are real addresses
            {"info@nuova-elettronica.it", true, ok},
            {"nome+tag@dominio.it", true, ok},
            // an invalid character is told before a missing "@"
            {"mario,rossi", false, no + QStringLiteral("Hai inserito caratteri non consentiti \",\"")},
            {"mario.rossi.example.it", false, no + QStringLiteral("il simbolo \"@\" non è presente")},
            {"a@b@c.it", false, no + QStringLiteral("Hai inserito troppe \"@\"s")},
            {"@example.it", false, no + QStringLiteral("Nessun nome inserito prima del carattere @ ")},
            {"mario@localhost", false, no + QStringLiteral("Nessun \".\" inserito nel dominio")},
            {"mario@.it", false, no + QStringLiteral("no domain name before \".\"")},
            {"mario@example.", false,
             no + QStringLiteral("Il \".\" non può essere inserito come ultimo carattere")},
        },
        checkEmail);
}

} // namespace
