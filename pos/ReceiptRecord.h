#pragma once

#include "pos/ReceiptLines.h"

#include <QString>

namespace carvendo::core {
class Db;
class Session;
} // namespace carvendo::core

namespace carvendo::pos {

// The `scontrini` row every fiscal receipt leaves: the sale's number, date, customer and totals as
// they are on its `banco` row, the operator and warehouse of the session.
class ReceiptRecord
{
public:
    // The payment as the receipts list shows it: the sale's payment type, "Contanti" when none
    // was chosen; a suspended sale confirmed with a receipt is "SCONTRINO DA SOSPESO" and keeps
    // its account (idSospeso).
    struct Payment
    {
        QString paymentType;
        int idSospeso = 0;
    };

    // Appends the row for sale idBanco inside the caller's transaction (the row and the posting
    // of the sale are one) and returns its id. The row keeps the receipt's lines and the
    // workstation whose printer is to get them, not yet handed over (PendingReceipts). Throws
    // std::logic_error outside a transaction and core::Error when the sale is not there.
    static int write(core::Db& db, const core::Session& session, ReceiptVariant variant, int idBanco,
                     const Payment& payment, const Receipt& receipt, const QString& workstation);
};

} // namespace carvendo::pos
