#pragma once

#include "core/Session.h"

#include <QString>

#include <optional>

namespace carvendo::core {

class Db;

// An operator's password as `utenti`.`password` keeps it: an Argon2id hash with its own salt and
// cost, never the text itself. Databases made before hashing still hold clear texts; those are
// accepted once and replaced by their hash at that operator's next successful login.
class OperatorPassword
{
public:
    static QString hash(const QString& clearText); // throws Error when the system is out of memory
    static bool isHash(const QString& stored);
    // The typed text against what is stored, hash or legacy clear text; letter case counts.
    static bool matches(const QString& stored, const QString& typed);
};

// The one check of an operator's credentials (login window, till): the operator whose username and
// password match, restricted to a warehouse when one is given; nullopt otherwise, without telling
// which part was wrong. A legacy clear password that matches is hashed on the way.
std::optional<Operator> checkOperatorPassword(Db& db, const QString& username, const QString& password,
                                              const QString& warehouse = {});

} // namespace carvendo::core
