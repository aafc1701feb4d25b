#pragma once

#include "core/Money.h"

#include <QFont>
#include <QString>

#include <functional>

class QLineEdit;
class QPushButton;

namespace carvendo::core {
class Dialogs;
} // namespace carvendo::core

namespace carvendo::ui {

// Small builders shared by the till's pages.

// The font made larger (and bold when asked): a till is read from a step away.
QFont scaledFont(QFont font, double factor, bool bold = false);

// A till command: it never takes the focus from the field being typed into, and a failure is shown
// instead of escaping the click.
QPushButton* tillButton(const QString& caption, const QString& objectName, core::Dialogs& dialogs,
                        std::function<void()> command);

// A button that is there but does nothing yet: disabled, saying so.
QPushButton* notYetButton(const QString& caption, const QString& objectName);

QLineEdit* namedField(const QString& objectName);

// The amount typed in the field; zero when it is empty or not an amount.
core::Money typedMoney(const QLineEdit* field);

} // namespace carvendo::ui
