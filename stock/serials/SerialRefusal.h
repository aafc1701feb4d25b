#pragma once

#include "core/Db.h"
#include "core/Error.h"

namespace carvendo::stock {

// A refusal that a serial command may show and stop at: its own transaction is already rolled back.
// Inside a caller's transaction the refusal goes on to the caller, whose command must not commit
// what was written before it.
inline bool isOwnRefusal(const core::Db& db, const core::Error& error)
{
    return error.kind() == core::Error::Kind::Refusal && !db.inTransaction();
}

} // namespace carvendo::stock
