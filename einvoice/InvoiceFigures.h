#pragma once

#include "einvoice/InvoiceData.h"

namespace carvendo::einvoice {

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
