#pragma once

#include "core/CommandGuard.h"

#include <QAbstractButton>

namespace carvendo::ui {

// A button whose command may fail on the database, the settings files or a print: the failure is
// shown to the operator instead of escaping the click.
template <typename Command>
void onClickGuarded(QAbstractButton* button, core::Dialogs& dialogs, Command command)
{
    QObject::connect(button, &QAbstractButton::clicked, button,
                     [&dialogs, command = std::move(command)] { core::runGuarded(dialogs, command); });
}

} // namespace carvendo::ui
