#pragma once

#include "core/Rows.h"

#include <QObject>

namespace carvendo::core {
class Db;
class Dialogs;
} // namespace carvendo::core

namespace carvendo::stock {

// The logic of TLotti: the lots of a lot barcode and, for the lot under the cursor, its serials still
// in stock.
class Lotti : public QObject
{
    Q_OBJECT
public:
    Lotti(core::Db& db, core::Dialogs& dialogs, QObject* parent = nullptr);

    // An empty barcode is refused ("Inserire il barcode del lotto da cercare").
    bool search(const QString& barcode);
    const core::Rows& lots() const { return m_lots; }
    // The cursor is on that row of lots() (-1: none): its serials are read.
    void setCurrentLot(int row);
    const core::Rows& serials() const { return m_serials; }

signals:
    void lotsChanged();
    void serialsChanged();

private:
    core::Db& m_db;
    core::Dialogs& m_dialogs;
    core::Rows m_lots;
    core::Rows m_serials;
};

} // namespace carvendo::stock
