#pragma once

#include "stock/serials/SerialContext.h"

#include <QString>

#include <functional>
#include <optional>

#include "core/Db.h"

namespace carvendo::stock {

// The selling document a serial goes into: its kind ("Pos", "Fattura", "Ddt", "Cat"), key and number,
// and the customer.
struct SerialDocument
{
    QString kind;
    int id = 0;
    QString number;
    int customerId = 0;
    QString customerName;
};

// The one piece every selling document (till, invoice, delivery note, repair document) uses to sell
// serials and give them back, inside the caller's transaction.
class SerialSales
{
public:
    SerialSales(core::Db& db, SerialActor actor);

    static QString unavailableMessage(); // "Attenzione! Seriale non disponibile"

    // The serial of that item leaves stock into the document. The serial is taken by deleting it, so of
    // two workstations selling the same serial one gets it and the other is refused with
    // unavailableMessage() (a core::Error, Refusal); nothing is written then.
    void sell(int itemId, const QString& serial, const SerialDocument& document);
    // A document row was removed: every serial of the item in that document goes back to stock,
    // available, and its link goes. Returns how many came back (0 when another workstation did it).
    int giveBack(int itemId, const QString& documentKind, int documentId);
    // One row of the document held this serial alone: only it goes back, the item's other serials in
    // the document stay sold.
    int giveBackSerial(int itemId, const QString& serial, const QString& documentKind, int documentId);
    // The item a scanned serial belongs to, when the serial is in stock and sellable.
    std::optional<SerialItem> itemOf(const QString& serial) const;

private:
    int giveBackLinked(const QString& condition, const core::Params& links,
                       const std::function<void()>& unlink);

    core::Db& m_db;
    SerialActor m_actor;
};

} // namespace carvendo::stock
