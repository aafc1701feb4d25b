#include "stock/loads/LoadTracking.h"

#include "core/Session.h"
#include "stock/loads/LoadHeader.h"
#include "stock/serials/LoadSerials.h"
#include "stock/serials/SerialContext.h"
#include "stock/sizes/LoadGrids.h"

namespace carvendo::stock {

namespace {

SerialActor actorOf(const core::Session& session, const LoadHeader& load)
{
    return SerialActor{session.currentOperator().id, session.currentOperator().nome, load.idMagazzino,
                       load.magazzino};
}

} // namespace

void LoadTracking::rowRemoved(core::Db& db, const LoadHeader& load, int idArticolo) const
{
    LoadSerials::blockRow(db, load.id, idArticolo, actorOf(m_session, load));
    LoadGrids::discard(db, m_owner, idArticolo);
    LoadGrids::undo(db, load.id, idArticolo, load.idMagazzino);
}

void LoadTracking::loadDiscarded(core::Db& db, const LoadHeader& load) const
{
    LoadSerials::deleteLoad(db, load.id, actorOf(m_session, load));
    if (!m_owner.isEmpty())
        LoadGrids::discard(db, m_owner);
    LoadGrids::undo(db, load.id, 0, load.idMagazzino);
}

void LoadTracking::loadSaved(core::Db& db, const LoadHeader& load) const
{
    LoadGrids::post(db, m_owner, load.id, load.idMagazzino, load.magazzino);
}

} // namespace carvendo::stock
