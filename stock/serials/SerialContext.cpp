#include "stock/serials/SerialContext.h"

#include "core/Session.h"

namespace carvendo::stock {

SerialActor actorOf(const core::Session& session)
{
    return {session.currentOperator().id, session.currentOperator().nome, session.warehouse().id,
            session.warehouse().name};
}

} // namespace carvendo::stock
