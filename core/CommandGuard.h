#pragma once

#include "core/Dialogs.h"
#include "core/Error.h"

#include <QString>

#include <exception>

namespace carvendo::core {

// Shows a failure that ended a command: a refusal as a warning, any other error of ours with its
// text, and anything else (a fault of the program) as "Errore imprevisto", written to the log too.
void showFailure(Dialogs& dialogs, const Error& failure);
void showUnexpected(Dialogs& dialogs, const std::exception& failure);

// Runs one command of a window and shows why it failed instead of letting the failure escape.
// This is the one place a command's exception stops: every shared window piece (button clicks, card
// saves, opening a window, the preview) goes through it. True when the command went through.
template <typename Command> bool runGuarded(Dialogs& dialogs, Command&& command)
{
    try {
        command();
        return true;
    } catch (const Error& failure) {
        showFailure(dialogs, failure);
    } catch (const std::exception& failure) {
        showUnexpected(dialogs, failure);
    }
    return false;
}

} // namespace carvendo::core
