#include "ui/registry/CardWindows.h"

#include "ui/common/CardForm.h"
#include "ui/common/RowsTableModel.h"
#include "ui/common/WindowRegistry.h"
#include "ui/registry/TCliente.h"
#include "ui/registry/TFornitore.h"
#include "ui/registry/TStoricoCliente.h"

#include <QDesktopServices>
#include <QEvent>
#include <QHeaderView>
#include <QTabWidget>
#include <QTableView>
#include <QUrl>

namespace carvendo::ui {

namespace {

// Watches the editors of a form for the focus leaving them.
class FieldLeftWatcher : public QObject
{
public:
    FieldLeftWatcher(CardForm& form, const QStringList& columns, std::function<void(const QString&)> left)
        : QObject(&form), m_left(std::move(left))
    {
        for (const QString& column : columns)
            if (QWidget* editor = form.editor(column)) {
                editor->installEventFilter(this);
                m_columns.insert(editor, column);
            }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusOut && m_columns.contains(watched)) {
            const QString column = m_columns.value(watched);
            QMetaObject::invokeMethod(
                this, [this, column] { m_left(column); }, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(const QString&)> m_left;
    QHash<QObject*, QString> m_columns;
};

} // namespace

void registerRegistryCardWindows(WindowRegistry& registry)
{
    registry.add(QStringLiteral("TCliente"), factory<TCliente>());
    registry.add(QStringLiteral("TFornitore"), factory<TFornitore>());
    registry.add(QStringLiteral("TStoricoCliente"), factory<TStoricoCliente>());
}

void onFieldLeft(CardForm& form, const QStringList& columns,
                 const std::function<void(const QString& column)>& left)
{
    new FieldLeftWatcher(form, columns, left);
}

void openInBrowser(const QString& url)
{
    QDesktopServices::openUrl(QUrl(url));
}

QWidget* historyTabsWidget(core::Db& db, const QList<registry::HistoryTab>& tabs, int id)
{
    auto* widget = new QTabWidget;
    for (const registry::HistoryTab& tab : tabs) {
        auto* grid = new QTableView;
        auto* model = new RowsTableModel(grid);
        if (id != 0)
            model->setRows(registry::historyRows(db, tab.source, id));
        grid->setModel(model);
        grid->setSelectionBehavior(QAbstractItemView::SelectRows);
        grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
        grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
        widget->addTab(grid, tab.caption);
    }
    return widget;
}

} // namespace carvendo::ui
