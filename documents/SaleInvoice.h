#pragma once

#include "core/Money.h"

#include <QList>
#include <QString>

namespace carvendo::core {
class Db;
class Dialogs;
class Session;
} // namespace carvendo::core

namespace carvendo::documents {

// One line of a sale as the customer paid it: the item, the quantity, the row discount and the
// VAT-inclusive unit price before that discount.
struct SoldLine
{
    int itemId = 0;
    int quantity = 0;
    int discountPercent = 0;
    core::Money grossPrice;
    bool bySerial = false; // the serials linked to the sale (SoldSale::serialDocument) are its pieces
    // A size/colour cell: its pieces already left the grid.
    bool bySize = false;
    QString size{}, colour{}, description{};
};

// A sale that becomes an invoice: its customer, how it was paid, its lines, and the document its
// serials are linked to now ("Pos" and the sale's key for the till).
struct SoldSale
{
    int customerId = 0;
    QString payment;
    QList<SoldLine> lines;
    QString serialDocument;
    int serialDocumentId = 0;
};

// Turns a sale (the till's, later a customer's account) into an immediate invoice, inside the
// caller's transaction: the header from the customer, numbered under the numbering lock held to the
// commit; one invoice row per line (one per serial for serialised items) priced as the sale priced it,
// with the VAT of its real rate (a serialised item sold by barcode, without serial, is a plain row); the
// stock moved once, by the invoice's rows and their `venduti` records; the serials' links moved to the
// invoice; the cash-book line of an invoice paid at the counter. The caller must not also unload the sale's
// rows.
class SaleInvoice
{
public:
    SaleInvoice(core::Db& db, core::Dialogs& dialogs, const core::Session& session)
        : m_db(db), m_dialogs(dialogs), m_session(session)
    {
    }

    // The new invoice's key.
    int create(const SoldSale& sale);

private:
    QStringList serialsOf(const SoldSale& sale, int itemId) const;
    void moveSerials(const SoldSale& sale, int invoiceId);

    core::Db& m_db;
    core::Dialogs& m_dialogs;
    const core::Session& m_session;
};

} // namespace carvendo::documents
