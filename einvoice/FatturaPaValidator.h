#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

#include <memory>

namespace carvendo::einvoice {

// Checks a FatturaPA file before it is written: first the exchange system's consistency rules (each
// summary's tax is its taxable amount times the rate within a cent, the rows of each rate add up to
// its summary, a nature exactly on zero rates, a buyer with a VAT number or a fiscal code, Italian
// postcodes of five digits, a recipient code of the format's length), then the official schema,
// in-process and without the network. The schema is loaded once, by the constructor; one validator
// serves any number of files, from any thread.
class FatturaPaValidator
{
public:
    // Whose file it is: the messages name the parties from the shop's side. In our invoice the seller
    // is the shop ("l'azienda") and the buyer the customer; in a supplier's, the seller is the supplier
    // and the buyer the shop, and a broken body is named by its own number and date.
    enum class Issuer
    {
        Shop,
        Supplier
    };

    FatturaPaValidator(); // throws core::Error when the embedded schema cannot be loaded
    ~FatturaPaValidator();
    FatturaPaValidator(const FatturaPaValidator&) = delete;
    FatturaPaValidator& operator=(const FatturaPaValidator&) = delete;

    // The program's validator, its schema loaded on first use.
    static const FatturaPaValidator& shared();

    // Throws EInvoiceRefusal naming the invoice (invoiceLabel, "Fattura 7/2026") and the first wrong
    // field.
    void validate(const QByteArray& xml, const QString& invoiceLabel) const;
    // The same for a supplier's file: the refusal names the document by supplierDocumentLabel.
    void validateSupplierFile(const QByteArray& xml) const;

    // How messages name a supplier's document: "Fattura del fornitore 123 del 05/12/2026".
    static QString supplierDocumentLabel(const QString& number, const QDate& date);

private:
    void check(const QByteArray& xml, QString invoiceLabel, Issuer issuer) const;

    struct Schema;
    std::unique_ptr<Schema> m_schema;
};

} // namespace carvendo::einvoice
