#pragma once

#include "core/Error.h"
#include "pos/ReceiptLines.h"

namespace carvendo::pos {

// A receipt that did not reach the fiscal printer. The sale it belongs to stays posted: the
// caller keeps the receipt to send again and tells the operator this message.
class ReceiptNotHandedOver : public core::Error
{
public:
    using core::Error::Error;
};

// Where a till hands its fiscal receipt. The till only builds the receipt (ReceiptLines) and
// hands it over here, so a printer reached another way is one more implementation of this.
class ReceiptPrinter
{
public:
    virtual ~ReceiptPrinter() = default;

    // Returns when the printer has the whole receipt; throws ReceiptNotHandedOver, saying why,
    // when it has not.
    virtual void handOver(const Receipt& receipt) = 0;
};

} // namespace carvendo::pos
