#pragma once

#include "core/Rows.h"

#include <QString>
#include <QStringList>

namespace carvendo::core {
class Db;
} // namespace carvendo::core

namespace carvendo::stock {

// The logic of TDisponibilita: the stock of one item in every warehouse (`giacenze`), optionally
// only in the warehouse of a chosen name.
class Disponibilita
{
public:
    explicit Disponibilita(core::Db& db) : m_db(db) {}

    // Reads the item and its stock rows in every warehouse.
    void open(int idArticolo);
    // Only the rows of the warehouse with that name; an empty name shows every warehouse again.
    void filterByWarehouse(const QString& magazzino);

    int idArticolo() const { return m_idArticolo; }
    // "CODE - Description" of the item, empty when it is not in the catalogue.
    const QString& itemCaption() const { return m_itemCaption; }
    const QString& warehouseFilter() const { return m_warehouse; }
    const core::Rows& rows() const { return m_rows; }
    // The names the filter offers: every warehouse, in name order.
    QStringList warehouseNames();

private:
    void load();

    core::Db& m_db;
    int m_idArticolo = 0;
    QString m_itemCaption;
    QString m_warehouse;
    core::Rows m_rows;
};

} // namespace carvendo::stock
