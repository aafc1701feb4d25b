#pragma once

#include <QString>
#include <QStringList>

#include <initializer_list>

class QAbstractItemModel;
class QComboBox;
class QDate;
class QDateEdit;
class QHBoxLayout;
class QPushButton;
class QTableView;
class QWidget;

namespace carvendo::ui {

// Small builders shared by the windows with pages of their own commands.

// A command button of a page: named for tests, never the default button, so Enter in a field
// never fires a command nobody asked for.
QPushButton* pageButton(const QString& caption, const QString& objectName);

// A command button of a window: never the default button (Enter in a field runs that field's own
// command, a search for one).
QPushButton* commandButton(const QString& caption, QWidget* parent);

// A grid of rows to choose from, not to edit: whole rows selected one at a time, no row numbers,
// Tab leaves the grid.
QTableView* readOnlyGrid(QAbstractItemModel* model, QWidget* parent);

// A date field with its calendar, shown dd/MM/yyyy.
QDateEdit* dateField(const QDate& date, QWidget* parent);

// The widgets one under the other.
QWidget* stackedColumn(std::initializer_list<QWidget*> widgets);

// The buttons on a row, pushed to the right.
QHBoxLayout* buttonRow(std::initializer_list<QPushButton*> buttons);

// A combo box offering an empty choice, the list, and whatever the record already holds when the list
// no longer has it; its listeners are not told.
void fillCombo(QComboBox* combo, const QStringList& items, const QString& current);

} // namespace carvendo::ui
