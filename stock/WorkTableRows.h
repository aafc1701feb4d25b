#pragma once

#include <QString>

namespace carvendo::core {
class Db;
} // namespace carvendo::core

namespace carvendo::stock {

// The work tables that every workstation fills in the same company database.
enum class WorkTable
{
    Inventario,
    Sottoscorta,
    CaricoTC,  // `caricotc`: the size/colour grids of a load being entered
    ScaricoTC, // `scaricotc`: the sizes being sold in a document row
};

// One window's rows of a shared work table. Each row carries the window's own token in
// `proprietario`, so two workstations (or two windows) filling the table at once never read, edit
// or delete each other's rows. The token is made on the workstation, not taken from the server
// connection: the inventory is filled and exported on background connections of their own, and a
// connection number is handed out again after the server restarts. The rows go with the window.
class WorkTableRows
{
public:
    WorkTableRows(core::Db& db, WorkTable table);
    ~WorkTableRows();
    WorkTableRows(const WorkTableRows&) = delete;
    WorkTableRows& operator=(const WorkTableRows&) = delete;

    const QString& owner() const { return m_owner; }
    // Deletes this window's rows through that connection (the window's or a job's own).
    void clear(core::Db& db) const;

private:
    core::Db& m_db;
    WorkTable m_table;
    QString m_owner;
};

} // namespace carvendo::stock
