#include "registry/EInvoiceRecipient.h"

#include "core/AddressChecks.h"

#include <QRegularExpression>
#include <QStringList>

namespace carvendo::registry {

namespace {

const QString kNoCode = QStringLiteral("0000000");

bool isItalian(const EInvoiceRecipient& recipient)
{
    const QString country = recipient.nazione.trimmed().toUpper();
    return country.isEmpty() || country == u"IT";
}

QString code(const EInvoiceRecipient& recipient)
{
    return recipient.codiceDestinatario.trimmed().toUpper();
}

} // namespace

const QStringList& recipientKinds()
{
    static const QStringList kinds{QStringLiteral("PF"), QStringLiteral("AZ"), QStringLiteral("PA")};
    return kinds;
}

QString recipientKindCaption(const QString& kind)
{
    if (kind == u"AZ")
        return QStringLiteral("Azienda");
    if (kind == u"PA")
        return QStringLiteral("Pubblica amministrazione");
    return QStringLiteral("Privato");
}

QString recipientRefusal(const EInvoiceRecipient& recipient)
{
    static const QRegularExpression lettersAndDigits(QStringLiteral("^[A-Z0-9]*$"));
    if (!core::isCountryCode(recipient.nazione))
        return QStringLiteral("La nazione deve essere il codice di 2 lettere (es. IT).");
    const QString recipientCode = code(recipient);
    if (!lettersAndDigits.match(recipientCode).hasMatch())
        return QStringLiteral("Il codice destinatario può contenere solo lettere e cifre.");
    const QString kind = recipient.kind.trimmed().toUpper();
    if (kind == u"PA") {
        if (recipientCode.size() != 6)
            return QStringLiteral("Per una pubblica amministrazione il codice destinatario (codice univoco "
                                  "ufficio) deve essere di 6 caratteri.");
        if (recipient.codiceFiscale.trimmed().isEmpty() && recipient.partitaIva.trimmed().isEmpty())
            return QStringLiteral("Per una pubblica amministrazione indicare il codice fiscale.");
        return {};
    }
    if (recipientCode.size() != 7)
        return QStringLiteral("Il codice destinatario deve essere di 7 caratteri (\"0000000\" se non c'è).");
    if (kind == u"AZ" && recipient.partitaIva.trimmed().isEmpty())
        return QStringLiteral("Per un'azienda indicare la partita IVA.");
    return {};
}

bool lacksFiscalCode(const EInvoiceRecipient& recipient)
{
    return recipient.kind.trimmed().toUpper() == u"PF" && isItalian(recipient) &&
           recipient.codiceFiscale.trimmed().isEmpty();
}

bool onlyInTaxDrawer(const EInvoiceRecipient& recipient)
{
    return recipient.kind.trimmed().toUpper() == u"AZ" && code(recipient) == kNoCode &&
           recipient.pec.trimmed().isEmpty();
}

} // namespace carvendo::registry
