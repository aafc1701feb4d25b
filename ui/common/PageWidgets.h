#pragma once

#include <QString>

#include <initializer_list>

class QHBoxLayout;
class QPushButton;
class QWidget;

namespace carvendo::ui {

// Small builders shared by the windows with pages of their own commands.

// A command button of a page: named for tests, never the default button, so Enter in a field
// never fires a command nobody asked for.
QPushButton* pageButton(const QString& caption, const QString& objectName);

// The widgets one under the other.
QWidget* stackedColumn(std::initializer_list<QWidget*> widgets);

// The buttons on a row, pushed to the right.
QHBoxLayout* buttonRow(std::initializer_list<QPushButton*> buttons);

} // namespace carvendo::ui
