#pragma once

#include "core/Money.h"
#include "core/RowEdits.h"
#include "core/Rows.h"

#include <QObject>

namespace carvendo::core {
class Db;
class Dialogs;
class Navigator;
class Session;
} // namespace carvendo::core

namespace carvendo::stock {

// What a new supplier row of an item starts with: the item's description, cost and VAT rate.
struct SupplierRowDefaults
{
    QString description{};
    core::Money cost{};
    int vat = 0;
};

// The suppliers of one item (`articoli_fornitori`), as the card's supplier tab shows them: adding a
// supplier through the supplier picker, deleting a row, opening the supplier, and saving the cells
// edited in the grid. A row key of 0 means none is selected.
class ItemSupplierRows : public QObject
{
    Q_OBJECT
public:
    ItemSupplierRows(core::Db& db, const core::Session& session, core::Dialogs& dialogs,
                     core::Navigator& navigator, QObject* parent = nullptr);

    void setItem(int idArticolo);
    // The columns the grid lets the operator edit.
    static const QStringList& editableColumns();

    core::Rows rows() const;
    bool add(const SupplierRowDefaults& defaults);
    bool remove(int idRow);
    void show(int idRow);

    // "Salva" of the tab: every edited cell checked (a number where a number belongs, discounts and
    // VAT from 0 to 100, texts within their column), then all written in one transaction. False, with
    // the reason shown and nothing written, at the first refusal; failedCell() tells where.
    bool save(const core::RowEdits& edits);
    const core::EditedCell& failedCell() const { return m_failedCell; }

signals:
    void rowsChanged();

private:
    std::optional<QVariant> checked(const QString& column, const QVariant& typed);

    core::Db& m_db;
    const core::Session& m_session;
    core::Dialogs& m_dialogs;
    core::Navigator& m_navigator;
    int m_idArticolo = 0;
    core::EditedCell m_failedCell;
};

} // namespace carvendo::stock
