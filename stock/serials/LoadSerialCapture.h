#pragma once

#include "stock/serials/SerialContext.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace carvendo::core {
class Db;
class Dialogs;
} // namespace carvendo::core

namespace carvendo::stock {

// How the operator confirmed a serial: the add button and Enter word an empty field differently.
enum class SerialEntry
{
    Button,
    Enter
};

// The serial and lot pages of one load row dialog. Each serial is written at once (its `seriali` row
// and the history event "Caricato", one transaction) and listed; the row quantity is the number of
// this dialog's serials. When the dialog is cancelled or its row cannot be written, discard() gives
// the dialog's serials and lots back.
class LoadSerialCapture
{
public:
    LoadSerialCapture(core::Db& db, core::Dialogs& dialogs, int loadId, int supplierId, SerialItem item,
                      SerialActor actor);

    // false: refused (the reason told), nothing written.
    bool add(const QString& serial, SerialEntry how);
    // One of this dialog's serials: deleted from stock, with its history event.
    bool remove(const QString& serial);
    // A lot row and count serials numbered from the first one: all written, or none.
    bool addLot(const QString& lotBarcode, const QString& firstSerial, int count);

    QStringList serials() const; // this dialog's serials, in order
    int count() const { return int(m_entries.size()); }
    QStringList itemSerialsInWarehouse() const;
    void discard();

private:
    struct Entry
    {
        int id;
        QString serial;
    };
    bool refuse(const QString& text);

    core::Db& m_db;
    core::Dialogs& m_dialogs;
    int m_loadId;
    int m_supplierId;
    SerialItem m_item;
    SerialActor m_actor;
    QList<Entry> m_entries;
    QList<int> m_lotIds;
};

} // namespace carvendo::stock
