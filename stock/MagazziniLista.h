#pragma once

#include "core/Rows.h"

#include <QObject>
#include <QVariant>

namespace carvendo::core {
class Db;
class Dialogs;
class Navigator;
class Paths;
class Session;
} // namespace carvendo::core

namespace carvendo::stock {

// The logic of TMagazziniLista: the warehouses, a new one or a change through the warehouse card
// ("TMagazzinoAnagrafica"), and deleting one.
class MagazziniLista : public QObject
{
    Q_OBJECT

public:
    MagazziniLista(core::Db& db, const core::Session& session, const core::Paths& paths,
                   core::Dialogs& dialogs, core::Navigator& navigator, QObject* parent = nullptr);

    // Rereads the list (idMagazzino first).
    void refresh();
    const core::Rows& rows() const { return m_rows; }
    // The key of the warehouse at row, or 0.
    int idAt(int row) const;

    // The card on a new warehouse, then the list reread.
    void newWarehouse();
    // The card on the warehouse, then the list reread. Without a warehouse (0) the operator is
    // asked to select one, as by remove().
    void modify(int idMagazzino);
    // Deletes the warehouse and its stock rows after the privilege check and the question. The
    // warehouse this workstation works in, or one an operator works in, is refused with the
    // reason. True when deleted.
    bool remove(int idMagazzino);

signals:
    void rowsChanged();

private:
    // False, after asking the operator to choose one, when no warehouse is selected (0).
    bool requireSelection(int idMagazzino);
    // The reason the warehouse may not go, or empty.
    QString refusal(int idMagazzino, const QString& name);

    core::Db& m_db;
    const core::Session& m_session;
    const core::Paths& m_paths;
    core::Dialogs& m_dialogs;
    core::Navigator& m_navigator;
    core::Rows m_rows;
};

} // namespace carvendo::stock
