#pragma once

#include "einvoice/InvoiceData.h"

#include <optional>

namespace carvendo::core {
class Db;
class Row;
} // namespace carvendo::core

namespace carvendo::einvoice {

// The stamp duty an invoice pays: its exempt, excluded and not taxable amounts above the threshold,
// when the duty is not zero. One rule for the file, the printed invoice and the stored totals.
struct StampDutyDue
{
    Money amount; // in cents; zero when the invoice does not pay it
    bool chargedToCustomer = false;

    bool applies() const { return !amount.isZero(); }
    // What the customer pays for it on top of the goods: the whole duty when charged to the customer.
    Money charged() const { return chargedToCustomer ? amount : Money(); }

    static StampDutyDue of(const QList<InvoiceLine>& lines, Money discountPercent, const StampDuty& settings);
    // What an invoice's header (ImportoBollo, BolloACaricoCliente) kept at its last save; none for an
    // invoice saved before invoices kept it.
    static std::optional<StampDutyDue> keptBy(const core::Row& header);
};

// The rule over a stored invoice's rows with the current amount and threshold, and whether the invoice
// charges its customer as decided when it was made, with the document discount the caller holds (it
// may not be written yet): what a save stores.
StampDutyDue stampDutyByRule(core::Db& db, int invoiceId, Money discountPercent);

// The stamp duty a stored invoice pays: what it kept at its last save, so that a change of the settings
// leaves it as its stored total has it; by the rule for an invoice saved before it kept it.
StampDutyDue invoiceStampDuty(core::Db& db, int invoiceId, Money discountPercent);

// A row as the file states it: its taxable amount in cents, less its share of the document discount.
struct FileLine
{
    const InvoiceLine* source = nullptr; // null for the stamp duty charged to the customer
    QString description;
    Money total;
    int rate = 0;
    QString nature;
    QString legalReference;
    bool withheld = false;
};

// The VAT summary of one rate and nature.
struct FileSummary
{
    int rate = 0;
    QString nature;
    QString legalReference;
    Money taxable;
    Money tax;
};

struct FilePayment
{
    Money amount;
    QDate due;
};

// The amounts of the file, in cents, made to agree as the exchange system checks them: each summary's
// tax is its taxable amount times the rate, the rows of a rate add up to its summary (the document
// discount is spread over the rows in proportion, the last cents to the largest shares), the
// instalments add up to what the customer pays.
struct InvoiceFigures
{
    QList<FileLine> lines;
    QList<FileSummary> summaries; // by rate, highest first, then by nature
    Money discount;               // the document discount on the taxable amount
    Money withholding;            // the withheld amount
    bool stampDuty = false;       // exempt amounts above the threshold
    Money total;                  // ImportoTotaleDocumento
    QList<FilePayment> payments;

    static InvoiceFigures of(const InvoiceData& invoice);
};

} // namespace carvendo::einvoice
