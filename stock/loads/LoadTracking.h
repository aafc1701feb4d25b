#pragma once

#include <QString>

namespace carvendo::core {
class Db;
class Session;
} // namespace carvendo::core

namespace carvendo::stock {

struct LoadHeader;

// What serial-tracked and size/colour items add to a load's commands. Each call runs inside the
// command's open transaction, so the serials and the grid go with the rows or not at all. owner is
// the load window's token for its size/colour work rows.
class LoadTracking
{
public:
    LoadTracking(const core::Session& session, QString owner) : m_session(session), m_owner(std::move(owner)) {}

    const QString& owner() const { return m_owner; }

    // A row removed: its serials are blocked, its grid work rows discarded and a posted grid undone.
    void rowRemoved(core::Db& db, const LoadHeader& load, int idArticolo) const;
    // The load cancelled or deleted: its serials and lots deleted, its grids discarded and undone.
    void loadDiscarded(core::Db& db, const LoadHeader& load) const;
    // The load saved: this window's grid work rows posted into the load's warehouse.
    void loadSaved(core::Db& db, const LoadHeader& load) const;

private:
    const core::Session& m_session;
    QString m_owner;
};

} // namespace carvendo::stock
