#pragma once

#include "core/Money.h"
#include "core/Rows.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace carvendo::core {
class Db;
class Dialogs;
} // namespace carvendo::core

namespace carvendo::documents {

class SalesDocument;

// What the quantity dialog confirms: a whole quantity, a whole discount and the VAT-inclusive unit
// price; for a serialised item, the serials chosen (the quantity is their count).
struct QuantityEntryValues
{
    int quantity = 0;
    int discountPercent = 0;
    core::Money grossPrice;
    QStringList serials;
};

// The logic of TDialogoScaricoFattDdt, the quantity dialog of a sales document: the item's three list
// prices ("Non Impostato" where a list has none), the customer's price to start from and, for a
// serialised item, its serials available in the document's warehouse.
class QuantityEntry
{
public:
    QuantityEntry(SalesDocument& document, core::Db& db, core::Dialogs& dialogs, int itemId);

    static QString windowName() { return QStringLiteral("TDialogoScaricoFattDdt"); }
    static QString notSet() { return QStringLiteral("Non Impostato"); }

    int itemId() const { return m_itemId; }
    const QString& code() const { return m_code; }
    const QString& description() const { return m_description; }
    bool bySerial() const { return m_bySerial; }
    // Sold by size and colour: the size grid takes this dialog's place.
    bool bySize() const { return m_bySize; }
    // The price the dialog opens with: the customer's list, VAT included.
    core::Money startPrice() const { return m_start; }
    // "€ 12,20" or "Non Impostato", for lists 1 to 3.
    QStringList listPrices() const;
    // The price of list 1 to 3; a list without one tells the operator and gives nothing.
    std::optional<core::Money> takeList(int list);

    // The serials of the item still available in the document's warehouse.
    const core::Rows& serials() const { return m_serials; }
    // Asks the serial to look for; its row in serials(), or nothing (told when not found).
    std::optional<int> searchSerial();

    // The dialog's fields checked in the order the operator reads the messages; nothing, after telling
    // why, when one is refused (the dialog stays open).
    std::optional<QuantityEntryValues> confirm(const QString& quantity, const QString& price,
                                               const QString& discount, const QStringList& serials);

private:
    core::Db& m_db;
    core::Dialogs& m_dialogs;
    int m_itemId;
    QString m_code, m_description;
    bool m_bySerial = false;
    bool m_bySize = false;
    core::Money m_start;
    std::optional<core::Money> m_lists[3];
    core::Rows m_serials;
};

} // namespace carvendo::documents
