#pragma once

#include "einvoice/InvoiceData.h"
#include "einvoice/InvoiceFigures.h"

#include <QByteArray>
#include <QString>

namespace carvendo::einvoice {

// The FatturaPA 1.2.2 file of one invoice: FPR12, or FPA12 for a public administration. The same
// invoice and progressive always give the same bytes.
class FatturaPaWriter
{
public:
    static constexpr const char* Namespace = "http://ivaservizi.agenziaentrate.gov.it/docs/xsd/fatture/v1.2";

    // The transmitter's id as the file name and IdTrasmittente state it: country and code.
    static QString transmitterId(const InvoiceData& invoice);
    // "IT01234567890_00001.xml"
    static QString fileName(const InvoiceData& invoice, const QString& progressive);
    // The counter's value as five letters and digits: 1 -> "00001", 36 -> "00010" (base 36).
    static QString progressiveOf(qint64 counter);

    static QByteArray write(const InvoiceData& invoice, const InvoiceFigures& figures,
                            const QString& progressive);
};

} // namespace carvendo::einvoice
