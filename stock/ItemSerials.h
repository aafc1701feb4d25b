#pragma once

#include "core/RowEdits.h"
#include "core/Rows.h"

#include <QObject>

namespace carvendo::core {
class Db;
class Dialogs;
class Session;
} // namespace carvendo::core

namespace carvendo::stock {

// The serials of one item in the current warehouse, as the card's serials tab shows them: deleting
// one (a piece less in the item's stock mirror), the load it came from, and saving serial numbers
// corrected in the grid. A row key of 0 means none is selected.
class ItemSerials : public QObject
{
    Q_OBJECT
public:
    ItemSerials(core::Db& db, const core::Session& session, core::Dialogs& dialogs,
                QObject* parent = nullptr);

    void setItem(int idArticolo);
    static const QStringList& editableColumns(); // the serial number only

    core::Rows rows() const;
    // Asks first; needs the delete privilege. A serial already gone is told and the grid reread.
    bool remove(int idSeriale);
    // The six lines about the load the serial came from.
    void showInfo(int idSeriale);

    // "Salva" of the tab: a serial number may not be empty nor be another serial's (in any item or
    // warehouse, nor twice among the edits). All written in one transaction, or none with the reason
    // shown; failedCell() tells where.
    bool save(const core::RowEdits& edits);
    const core::EditedCell& failedCell() const { return m_failedCell; }

signals:
    void rowsChanged();
    // A serial was deleted: the item's stock mirror as it now stands.
    void stockMirrorChanged(const QVariant& giacenza);

private:
    core::Db& m_db;
    const core::Session& m_session;
    core::Dialogs& m_dialogs;
    int m_idArticolo = 0;
    core::EditedCell m_failedCell;
};

} // namespace carvendo::stock
