#pragma once

#include "stock/serials/SerialContext.h"

#include "core/Db.h"
#include "core/NamedLock.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace carvendo::stock {

// One serial as it enters stock (`seriali`), available for sale.
struct StockSerial
{
    SerialItem item;
    QString serial;
    int loadId = 0;
    int supplierId = 0;
    int lotId = 0; // 0: not part of a lot
    QString lotBarcode;
};

// The lock under which serials are checked and written: old databases that already hold duplicate
// serials have no unique index, so the check alone must keep two workstations from loading the same
// serial. Take it before the command's transaction.
class SerialWriteLock
{
public:
    explicit SerialWriteLock(core::Db& db);

private:
    core::NamedLock m_lock;
};

// The serials in stock (`seriali`): the one place that checks, adds and removes them.
class SerialStock
{
public:
    explicit SerialStock(core::Db& db) : m_db(db) {}

    static QString duplicateMessage(); // "Attenzione! Il Seriale inserito risulta già presente nell'archivio"
    static constexpr int kMaxSerialLength = 255;

    // Which of the serials are in stock (available or blocked), in any item, letter case ignored.
    QStringList existing(const QStringList& serials) const;
    // Adds the serials, available; a serial already there (the unique index) is refused with
    // duplicateMessage() as a core::Error (Refusal). The one-serial form returns the new row's key.
    int add(const StockSerial& serial, const SerialActor& actor);
    void add(const QList<StockSerial>& serials, const SerialActor& actor);
    // Deletes the rows with these keys; returns how many went.
    qint64 removeByIds(const QList<int>& ids);

private:
    core::Db& m_db;
};

} // namespace carvendo::stock
