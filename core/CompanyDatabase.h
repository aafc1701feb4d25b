#pragma once

#include "core/Db.h"

#include <QString>

#include <functional>

namespace carvendo::core {

// Makes a new company database from the template script (tables, seed rows, procedures).
// `server` is any connection with the right to create databases; afterwards it uses the new database.
// A script that fails half-way leaves no half-made company: the new database is dropped again.
void createCompanyDatabase(Db& server, const QString& name, const QString& templatePath,
                           const std::function<void(int, int)>& progress = {});

void dropDatabase(Db& server, const QString& name);

} // namespace carvendo::core
