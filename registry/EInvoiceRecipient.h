#pragma once

#include <QString>
#include <QStringList>

namespace carvendo::registry {

// Who an electronic invoice goes to, as the customer card keeps it.
struct EInvoiceRecipient
{
    QString kind; // PF private person, AZ company, PA public administration
    QString partitaIva;
    QString codiceFiscale;
    QString codiceDestinatario; // 7 characters, "0000000" when none; 6 for a public administration
    QString pec;
    QString nazione; // ISO code, IT for Italy
};

// The kinds, as stored and as the card shows them.
QString recipientKindCaption(const QString& kind);
const QStringList& recipientKinds();

// Why the invoice could not reach this customer, or an empty text when it can. Codes are compared
// in capitals.
QString recipientRefusal(const EInvoiceRecipient& recipient);

// An Italian private person without a codice fiscale cannot be sent an electronic invoice; the card
// keeps such customers (walk-in repairs, fidelity cards) after asking.
bool lacksFiscalCode(const EInvoiceRecipient& recipient);

// A company with neither a recipient code nor a PEC receives its invoices only in its tax drawer.
bool onlyInTaxDrawer(const EInvoiceRecipient& recipient);

} // namespace carvendo::registry
