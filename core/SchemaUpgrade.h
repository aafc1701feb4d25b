#pragma once

#include <QString>
#include <QStringView>

#include <functional>

namespace carvendo::core {

class Db;

// The schema version this program works with. A company database stamped with any other version
// (older or newer) is brought up to it before use.
inline constexpr QStringView SchemaVersion = u"6.1.10";

// Shown (OK only) before a company database is upgraded.
inline constexpr QStringView UpgradeWarning =
    u"Attenzione!!! Verrà eseguito un upgrade del database per renederlo compatibile con la nuova "
    u"versione del software. Prima di confermare, si raccomanda di chiudere tutti i client.";

// Progress of an upgrade, 0 to 100.
using UpgradeProgress = std::function<void(int percent)>;

// True when the company database that db points at is not stamped with SchemaVersion
// (a missing version row counts as another version).
bool needsUpgrade(Db& db);

// Runs the whole upgrade list, installs the stored procedures again and stamps the version.
// A failing statement throws DbError with the server's text and leaves the old stamp in place,
// so the next start tries again (every step is safe to repeat).
void upgrade(Db& db, const UpgradeProgress& progress = {});

// upgrade() when needsUpgrade(); true when it ran.
bool upgradeIfNeeded(Db& db, const UpgradeProgress& progress = {});

// The upgrade list with every "#@table name" line replaced by that table's
// CREATE TABLE IF NOT EXISTS statement from the program's table definitions.
QString expandTableDirectives(const QString& upgradeList);

} // namespace carvendo::core
