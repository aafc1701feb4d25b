#pragma once

#include "core/Money.h"

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

namespace carvendo::core {
class Db;
struct CompanyRecord;
} // namespace carvendo::core

namespace carvendo::einvoice {

using core::Money;

// Who issues the invoice: the company's directory row and its electronic invoice settings.
struct Seller
{
    QString denominazione;
    QString partitaIva;
    QString codiceFiscale;
    QString indirizzo;
    QString cap;
    QString comune;
    QString provincia;
    QString nazione;
    QString regimeFiscale;
    QString reaUfficio;
    QString reaNumero;
    Money reaCapitale; // zero: not stated
    QString reaSocioUnico;
    QString reaLiquidazione;
    QString trasmittente; // the transmitter's fiscal code
};

enum class BuyerKind
{
    Private,             // "PF"
    Company,             // "AZ"
    PublicAdministration // "PA": format FPA12
};

// The customer as the invoice was made out to it, with the customer's electronic invoice data.
struct Buyer
{
    BuyerKind kind = BuyerKind::Private;
    QString denominazione;
    QString nome;
    QString cognome;
    QString partitaIva;
    QString codiceFiscale;
    QString indirizzo;
    QString cap;
    QString comune;
    QString provincia;
    QString nazione;
    QString codiceDestinatario;
    QString pec;
};

// One row of the invoice, as stored.
struct InvoiceLine
{
    QString code;
    QString description;
    double quantity = 0;
    QString unit;
    Money unitPrice; // net of the row discount, VAT excluded
    Money total;     // the row's taxable amount
    int rate = 0;
    QString nature;         // the row's own (the VAT code it was sold under), else its rate's
    QString legalReference; // of that nature's zero rate in `iva`
};

struct Withholding
{
    Money percent;
    QString description;
    QString kind;   // RT01, RT02
    QString reason; // the payment reason code
};

// The stamp duty settings; for an invoice that kept its own at its last save, what it kept: then it
// pays amount (zero: none) whatever its rows and the threshold.
struct StampDuty
{
    Money amount;
    Money threshold;
    bool chargedToCustomer = false;
    bool keptByInvoice = false;
};

struct Instalment
{
    Money amount;
    QDate due;
};

// One stored invoice with everything its electronic file says.
struct InvoiceData
{
    int id = 0;
    QString label;  // "Fattura 7/2026": how messages name it
    QString number; // "7", "7/A"
    QDate date;
    QString tipoDocumento;
    Seller seller;
    Buyer buyer;
    QList<InvoiceLine> lines;
    Money discountPercent;
    std::optional<Withholding> withholding;
    StampDuty stampDuty;
    QString paymentCode; // MP01 ...; empty: the invoice names no payment term
    QList<Instalment> instalments;
    QString iban;
    QString bankName;
    QString exportedFile; // the file of an earlier export, empty when none
};

// "Fattura 7/2026", "Fattura 7-A/2026": how messages name an invoice, from its number columns.
QString invoiceLabel(const QString& number, const QString& suffix, const QString& year);

// Reads one invoice from the company database in three queries: the header with its customer,
// payment and bank, the rows with their rates' natures, the electronic invoice settings.
class InvoiceReader
{
public:
    InvoiceReader(core::Db& db, const core::CompanyRecord& company) : m_db(db), m_company(company) {}

    // Throws EInvoiceRefusal for an invoice that is gone, of a kind without an electronic file, or
    // whose withholding is not among the withholding kinds.
    InvoiceData read(int invoiceId) const;

private:
    core::Db& m_db;
    const core::CompanyRecord& m_company;
};

} // namespace carvendo::einvoice
