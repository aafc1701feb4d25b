#pragma once

#include "core/Numbering.h"

#include <QString>

#include <functional>
#include <optional>

namespace carvendo::stock {

// New item codes and barcodes, always ones no item holds yet.
//
// A code is 8 characters drawn at random from digits and capital letters; a barcode is the next
// EAN-13 (or EAN-8, as the shop chose) of the running base in `contatori`.`BarcodeArticolo`
// (800500100200 when empty). Both are drawn again, up to MaxTries times, while an item already holds
// the value; when none is free the caller gets nothing and the counter is left as it was.
class ItemCodes
{
public:
    // A number in [0, bound): the draw of one character. Tests pass their own sequence.
    using RandomSource = std::function<int(int bound)>;

    static constexpr int MaxTries = 1000;
    static constexpr int CodeLength = 8;
    static const QString& alphabet(); // "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ"

    explicit ItemCodes(core::Db& db, RandomSource random = {},
                       core::BarcodeStandard standard = core::BarcodeStandard::Ean13);

    // A code no item holds, or nullopt after MaxTries taken draws.
    std::optional<QString> newCode();
    // The next free barcode; the counter keeps the base it came from. The counter row is locked
    // while the number is drawn, so two workstations never get the same barcode. nullopt after
    // MaxTries taken barcodes (the counter unchanged). A counter holding something that is not a
    // whole number gives a core::DbError; an EAN-8 counter past seven digits a refusal.
    std::optional<QString> newBarcode();

    static QString codesExhaustedMessage();
    static QString barcodesExhaustedMessage();

private:
    core::Db& m_db;
    RandomSource m_random;
    core::BarcodeStandard m_standard;
};

} // namespace carvendo::stock
