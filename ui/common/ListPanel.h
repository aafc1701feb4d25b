#pragma once

#include "core/Rows.h"
#include "ui/common/RowsTableModel.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <functional>
#include <initializer_list>
#include <optional>

class QAbstractButton;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QTableView;

namespace carvendo::ui {

struct WindowEnvironment;

// The grid of a list window and what goes with it: the chosen columns over the logic's rows, the
// column layout kept between sessions, the current record kept when the rows are shown again after a
// command, double-click or Enter opening it, and for a list read a page at a time the count shown
// with "Altre". Every command it runs is guarded: a failure is shown and the list stays as it was.
class ListPanel : public QWidget
{
    Q_OBJECT
public:
    struct Grid
    {
        QString objectName;
        QString layoutWord; // the saved layout's file, "layout" + word
        QString keyColumn;  // tells the records apart
        QList<RowsTableModel::Column> columns;
        QList<int> widths{}; // from the first column; 0 keeps the default
        bool manySelectable = false;
    };
    // A list read a page at a time; "%1" in the texts is the number of rows shown.
    struct Paging
    {
        std::function<bool()> hasMore;
        std::function<void()> loadMore;
        QString shownWithMore;
        QString shownAll;
    };

    ListPanel(WindowEnvironment& environment, Grid grid, std::function<core::Rows()> rows,
              std::optional<Paging> paging = std::nullopt, QWidget* parent = nullptr);
    ~ListPanel() override;

    QTableView* grid() const { return m_grid; }
    // The current record's key; 0 when there is none.
    int selectedKey() const;
    // The keys of every selected record.
    QList<int> selectedKeys() const;

    // The logic's rows shown again, on the same record when it is still listed, else on the first.
    void showRows();
    // The command, guarded, then the rows shown again.
    void run(const std::function<void()>& command);
    // A button whose command works on the current record (its key; 0 when none).
    void onSelected(QAbstractButton* button, std::function<void(int key)> command);
    // A button whose command does not need a record.
    void onClick(QAbstractButton* button, std::function<void()> command);
    // Double-click or Enter on a row.
    void onOpened(std::function<void(int key)> command);

private:
    int keyAt(int row) const;

    WindowEnvironment& m_environment;
    QString m_layoutWord;
    QString m_keyColumn;
    std::function<core::Rows()> m_rows;
    std::optional<Paging> m_paging;
    RowsTableModel* m_model = nullptr;
    QTableView* m_grid = nullptr;
    QLabel* m_shown = nullptr;
    QPushButton* m_more = nullptr;
};

// The command buttons along the foot of a list window: each group apart from the next, the window's
// exit at the right.
QHBoxLayout* listCommands(std::initializer_list<std::initializer_list<QPushButton*>> groups,
                          QPushButton* exit);

} // namespace carvendo::ui
