#pragma once

#include "core/Rows.h"
#include "stock/WorkTableRows.h"

#include <QString>
#include <QStringList>

namespace carvendo::core {
class Clock;
class Db;
class Dialogs;
class ReportOutput;
} // namespace carvendo::core

namespace carvendo::stock {

// One owner's under-stock work list in `sottoscorta`: one row per item whose stock mirror is at or
// below its minimum (`giacenza` <= `Scorta`), with the quantity to order up to the minimum.
class UnderStockList
{
public:
    UnderStockList(core::Db& db, QString owner) : m_db(db), m_owner(std::move(owner)) {}

    // Writes the owner's list afresh in one transaction: the rows SOTTOSCORTA would write for every
    // item at or below its minimum, made with one INSERT … SELECT however many items there are. Rows
    // of items that are no longer under their minimum (or no longer exist) go; other owners' rows
    // stay as they are. Returns the rows made.
    qint64 rebuild();

private:
    core::Db& m_db;
    QString m_owner;
};

// The logic of TSottoscorta: on opening the work list is rebuilt and shown; it can be narrowed to
// one supplier, the quantity to order is edited in the list, and the list is printed.
class Sottoscorta
{
public:
    Sottoscorta(core::Db& db, const core::Clock& clock, core::Dialogs& dialogs, core::ReportOutput& reports);

    // Rebuilds the work list and shows every row.
    void open();
    // Only the rows of that supplier; an empty name shows every supplier again.
    void filterBySupplier(const QString& fornitore);
    const QString& supplierFilter() const { return m_supplier; }
    // The suppliers of the rows in the list, in name order (the filter's choices).
    QStringList suppliers();

    const core::Rows& rows() const { return m_rows; }

    // Stores the quantity to order of the row with that `id`; a negative quantity, or a row that
    // is no longer in this window's list, is refused with a message. True when stored.
    bool setQuantityToOrder(int id, int quantity);

    // The list as shown, in the print preview ("Sottoscorta" template). False, after telling the
    // operator, when it could not be printed.
    bool print();

    // A supplier order made from the list needs supplier orders, which the program does not have
    // yet: the command is shown disabled with this reason.
    static bool canOrder() { return false; }
    static QString orderUnavailableReason() { return QStringLiteral("Non ancora disponibile"); }

private:
    void load();

    core::Db& m_db;
    const core::Clock& m_clock;
    core::Dialogs& m_dialogs;
    core::ReportOutput& m_reports;
    WorkTableRows m_workRows{m_db, WorkTable::Sottoscorta};
    QString m_supplier;
    core::Rows m_rows;
};

} // namespace carvendo::stock
