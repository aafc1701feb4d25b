#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

namespace carvendo::einvoice {

// Checks a FatturaPA file before it is written: first the exchange system's consistency rules (each
// summary's tax is its taxable amount times the rate within a cent, the rows of each rate add up to
// its summary, a nature exactly on zero rates, a buyer with a VAT number or a fiscal code, Italian
// postcodes of five digits, a recipient code of the format's length), then the official schema,
// in-process and without the network. The schema is loaded once, by the constructor; one validator
// serves any number of files.
class FatturaPaValidator
{
public:
    FatturaPaValidator(); // throws core::Error when the embedded schema cannot be loaded
    ~FatturaPaValidator();
    FatturaPaValidator(const FatturaPaValidator&) = delete;
    FatturaPaValidator& operator=(const FatturaPaValidator&) = delete;

    // Throws EInvoiceRefusal naming the invoice (invoiceLabel, "Fattura 7/2026") and the first wrong
    // field.
    void validate(const QByteArray& xml, const QString& invoiceLabel) const;

private:
    struct Schema;
    std::unique_ptr<Schema> m_schema;
};

} // namespace carvendo::einvoice
