#pragma once

#include "DbError.h"
#include "Dialogs.h"
#include "IniFile.h"
#include "LookupTables.h"
#include "ReportOutput.h"

namespace carvendo::core {

// Runs one command of a window and shows why it failed instead of letting the failure escape:
// a refused input as a warning, a database, settings-file or print failure as an error with its text.
// True when the command went through.
template <typename Command>
bool runGuarded(Dialogs& dialogs, Command&& command)
{
    try {
        command();
        return true;
    } catch (const LookupError& refusal) {
        dialogs.warning(refusal.message());
    } catch (const DbError& failure) {
        dialogs.error(failure.message());
    } catch (const IniFileError& failure) {
        dialogs.error(failure.message());
    } catch (const ReportError& failure) {
        dialogs.error(failure.message());
    }
    return false;
}

} // namespace carvendo::core
