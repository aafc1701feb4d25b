#pragma once

#include "stock/loads/LoadHeader.h"

namespace carvendo::core {
class Db;
class Session;
} // namespace carvendo::core

namespace carvendo::stock {

class LoadTracking;

// "Salva" of a load, shared by the load window and the fast load, in one transaction under the load's
// row lock (two workstations saving one load take turns): the header, the size/colour grids posted
// into the load's warehouse, the labels when asked for, the deadlines kept in step once written, and
// the load's cash-book entry replaced.
class LoadSaving
{
public:
    LoadSaving(core::Db& db, const core::Session& session, const LoadTracking& tracking)
        : m_db(db), m_session(session), m_tracking(tracking)
    {
    }

    void save(int idCarico, const LoadHeaderFields& fields, bool queueLabels);
    // What saving does after the header is written, for a load whose header its maker wrote itself
    // (an import): load is the header as now stored, previousTipoDoc its type before the command.
    void completeSave(const LoadHeader& load, const QString& previousTipoDoc, bool queueLabels);

    // The entry of a saved load: money out, paid when the payment is cash.
    void writeCashBook(const LoadHeader& load);

private:
    core::Db& m_db;
    const core::Session& m_session;
    const LoadTracking& m_tracking;
};

// The label queue of a load: one CREA_ETICHETTE per row, size/colour rows one per size loaded
// (from `caricotcdoc`), inside the caller's transaction.
void queueLoadLabels(core::Db& db, int idCarico);

} // namespace carvendo::stock
