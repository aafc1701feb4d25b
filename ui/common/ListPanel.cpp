#include "ui/common/ListPanel.h"

#include "core/CommandGuard.h"
#include "core/GridLayoutFile.h"
#include "ui/common/PageWidgets.h"
#include "ui/common/WindowEnvironment.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace carvendo::ui {

ListPanel::ListPanel(WindowEnvironment& environment, Grid grid, std::function<core::Rows()> rows,
                     std::optional<Paging> paging, QWidget* parent)
    : QWidget(parent), m_environment(environment), m_layoutWord(std::move(grid.layoutWord)),
      m_keyColumn(std::move(grid.keyColumn)), m_rows(std::move(rows)), m_paging(std::move(paging))
{
    m_model = new RowsTableModel(this);
    m_model->setColumns(std::move(grid.columns));
    m_grid = readOnlyGrid(m_model, this);
    m_grid->setObjectName(grid.objectName);
    if (grid.manySelectable)
        m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setWordWrap(false);
    QHeaderView* header = m_grid->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setStretchLastSection(true);
    for (int column = 0; column < grid.widths.size(); ++column)
        if (grid.widths[column] > 0)
            header->resizeSection(column, grid.widths[column]);
    const QByteArray layout = core::GridLayoutFile(m_environment.paths, m_layoutWord).load();
    if (!layout.isEmpty())
        header->restoreState(layout);

    auto* layoutBox = new QVBoxLayout(this);
    layoutBox->setContentsMargins(0, 0, 0, 0);
    layoutBox->addWidget(m_grid, 1);
    if (m_paging) {
        m_shown = new QLabel(this);
        m_shown->setObjectName(QStringLiteral("mostrate"));
        m_more = pageButton(QStringLiteral("Altre"), QStringLiteral("altre"));
        auto* pageRow = new QHBoxLayout;
        pageRow->addWidget(m_shown);
        pageRow->addStretch();
        pageRow->addWidget(m_more);
        layoutBox->addLayout(pageRow);
        connect(m_more, &QPushButton::clicked, this, [this] { run(m_paging->loadMore); });
    }
}

ListPanel::~ListPanel()
{
    core::GridLayoutFile(m_environment.paths, m_layoutWord)
        .save(m_grid->horizontalHeader()->saveState(), m_environment.dialogs);
}

int ListPanel::keyAt(int row) const
{
    return row < 0 ? 0 : m_model->rows().value(row, m_keyColumn).toInt();
}

int ListPanel::selectedKey() const
{
    return keyAt(m_model->rowOf(m_grid->currentIndex()));
}

QList<int> ListPanel::selectedKeys() const
{
    QList<int> keys;
    for (const QModelIndex& index : m_grid->selectionModel()->selectedRows())
        keys << keyAt(m_model->rowOf(index));
    return keys;
}

void ListPanel::showRows()
{
    const int kept = selectedKey();
    m_model->setRows(m_rows());
    if (m_paging) {
        const bool more = m_paging->hasMore();
        m_more->setEnabled(more);
        m_shown->setText((more ? m_paging->shownWithMore : m_paging->shownAll).arg(m_model->rowCount()));
    }
    int current = m_model->rowCount() > 0 ? 0 : -1;
    for (int row = 0; kept > 0 && row < m_model->rowCount(); ++row)
        if (keyAt(row) == kept) {
            current = row;
            break;
        }
    if (current >= 0)
        m_grid->selectRow(current);
}

void ListPanel::run(const std::function<void()>& command)
{
    core::runGuarded(m_environment.dialogs, command);
    showRows();
}

void ListPanel::onSelected(QAbstractButton* button, std::function<void(int key)> command)
{
    connect(button, &QAbstractButton::clicked, this,
            [this, command = std::move(command)] { run([&] { command(selectedKey()); }); });
}

void ListPanel::onClick(QAbstractButton* button, std::function<void()> command)
{
    connect(button, &QAbstractButton::clicked, this, [this, command = std::move(command)] { run(command); });
}

void ListPanel::onOpened(std::function<void(int key)> command)
{
    connect(m_grid, &QTableView::activated, this,
            [this, command = std::move(command)] { run([&] { command(selectedKey()); }); });
}

QHBoxLayout* listCommands(std::initializer_list<std::initializer_list<QPushButton*>> groups,
                          QPushButton* exit)
{
    auto* row = new QHBoxLayout;
    bool first = true;
    for (const auto& group : groups) {
        if (!first)
            row->addSpacing(24);
        first = false;
        for (QPushButton* button : group)
            row->addWidget(button);
    }
    row->addStretch();
    row->addWidget(exit);
    return row;
}

} // namespace carvendo::ui
