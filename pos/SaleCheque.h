#pragma once

#include "core/Money.h"

#include <QString>

namespace carvendo::core {
class Db;
class Paths;
} // namespace carvendo::core

namespace carvendo::pos {

// What the cashier types on the cheque page.
struct ChequeDetails
{
    core::Money amount;
    QString bank;
    QString number;
};

// The cheque a sale is paid with: its image as a PNG named after the sale in the till's acquisitions
// folder, a numbered `acquisizioni` row, and the cheque data on the sale's header. The row, the file
// and the header go together: an image that cannot be read or written leaves nothing. The closing
// that claimed the sale records it within its own transaction, so the row carries the sale's number.
class SaleCheque
{
public:
    SaleCheque(core::Db& db, const core::Paths& paths) : m_db(db), m_paths(paths) {}

    // Returns the acquisition number; throws a refusal for an unreadable image.
    int capture(int saleId, int warehouseId, const QString& imageFile, const ChequeDetails& cheque);
    QString pngPath(int saleId) const;

private:
    core::Db& m_db;
    const core::Paths& m_paths;
};

} // namespace carvendo::pos
