#pragma once

#include "core/Error.h"
#include "einvoice/SupplierInvoice.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace carvendo::einvoice {

// A file the program cannot take as an electronic invoice: the message says why.
class NotAnEInvoice : public core::Error
{
public:
    explicit NotAnEInvoice(const QString& why)
        : core::Error(QStringLiteral("Il file non è una fattura elettronica: ") + why, Kind::Refusal)
    {
    }
};

// Reads a supplier's FatturaPA file: plain XML, or signed (`.xml.p7m`, CMS in DER or base64), whose
// signature must match its content (the signer's certificate chain is not checked: the exchange
// system did that before delivering it). The XML must pass the official schema and the exchange
// system's rules. A file of several invoices (a lot) gives one invoice per `FatturaElettronicaBody`,
// each with the header's seller.
class SupplierInvoiceReader
{
public:
    // Throws NotAnEInvoice when the file is not a readable FatturaPA, EInvoiceRefusal when it breaks
    // the schema or the rules.
    QList<SupplierInvoice> read(const QByteArray& file) const;
    QList<SupplierInvoice> readFile(const QString& path) const;

    // The XML inside a signed file; the file itself when it is plain XML.
    static QByteArray unwrap(const QByteArray& file);
};

} // namespace carvendo::einvoice
