#pragma once

#include "core/Privileges.h"
#include "core/Session.h"

#include <initializer_list>

namespace carvendo::testing {

// The privileges of a group holding exactly these flags.
template <typename Flags = std::initializer_list<core::Privilege>>
core::Privileges privilegesOf(const Flags& flags)
{
    core::Privileges privileges;
    for (core::Privilege flag : flags)
        privileges.set(flag, true);
    return privileges;
}

// The operator logged in at the warehouse with exactly these flags.
inline void logIn(core::Session& session, std::initializer_list<core::Privilege> flags,
                  const core::Warehouse& warehouse = {}, const core::Operator& who = {})
{
    session.logIn(who, warehouse, privilegesOf(flags));
}

} // namespace carvendo::testing
