#include "ui/registry/RegistryListWindow.h"

#include "core/CommandGuard.h"
#include "core/Connections.h"
#include "ui/common/BackgroundTask.h"
#include "ui/common/PageWidgets.h"
#include "ui/common/RowsTableModel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace carvendo::ui {

// ---- RegistrySearchPanel ----

RegistrySearchPanel::RegistrySearchPanel(registry::RegistrySearch& search, core::Dialogs& dialogs,
                                         const registry::RegistryKind& kind, bool withModes, QWidget* parent)
    : QWidget(parent), m_search(search), m_dialogs(dialogs), m_kind(kind)
{
    m_text = new QLineEdit(this);
    m_text->setPlaceholderText(QStringLiteral("Cerca per ragione sociale"));
    auto* find = commandButton(QStringLiteral("Cerca"), this);
    auto* all = commandButton(QStringLiteral("Tutti"), this);

    auto* searchRow = new QHBoxLayout;
    if (withModes) {
        m_mode = new QComboBox(this);
        m_mode->addItem(QStringLiteral("Ragione Sociale"), int(registry::SearchMode::Name));
        m_mode->addItem(QStringLiteral("Codice Fiscale"), int(registry::SearchMode::TaxCode));
        m_mode->addItem(QStringLiteral("Partita IVA"), int(registry::SearchMode::VatNumber));
        searchRow->addWidget(m_mode);
    }
    searchRow->addWidget(m_text, 1);
    searchRow->addWidget(find);
    searchRow->addWidget(all);

    m_model = new RowsTableModel(this);
    QList<RowsTableModel::Column> columns;
    for (int i = 0; i < kind.gridColumns.size(); ++i)
        columns.append({kind.gridColumns.at(i), kind.gridCaptions.at(i)});
    m_model->setColumns(columns);
    m_grid = readOnlyGrid(m_model, this);
    m_grid->horizontalHeader()->setSectionsMovable(true);
    m_grid->hideColumn(0); // the key
    m_grid->installEventFilter(this);
    m_text->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(searchRow);
    layout->addWidget(m_grid, 1);

    connect(m_text, &QLineEdit::returnPressed, this, &RegistrySearchPanel::runSearch);
    connect(find, &QPushButton::clicked, this, &RegistrySearchPanel::runSearch);
    connect(all, &QPushButton::clicked, this, &RegistrySearchPanel::showAll);
    connect(m_grid, &QTableView::doubleClicked, this, [this] { emit activated(currentKey()); });
    connect(m_grid->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &RegistrySearchPanel::loadMoreIfAtEnd);
}

QVariant RegistrySearchPanel::currentKey() const
{
    const int row = m_model->rowOf(m_grid->currentIndex());
    if (row < 0 || row >= m_search.rows().size())
        return {};
    return m_search.rows().at(row, 0).variant();
}

void RegistrySearchPanel::showRows()
{
    const int row = m_grid->currentIndex().isValid() ? m_grid->currentIndex().row() : 0;
    m_model->setRows(m_search.rows());
    m_grid->hideColumn(0);
    if (m_model->rowCount() > 0)
        m_grid->setCurrentIndex(m_model->index(qMin(row, m_model->rowCount() - 1), 2));
}

void RegistrySearchPanel::runSearch()
{
    const auto mode =
        m_mode ? registry::SearchMode(m_mode->currentData().toInt()) : registry::SearchMode::Name;
    const QString text = m_text->text();
    if (core::runGuarded(m_dialogs, [&] { m_search.search(mode, text); }))
        showRows();
}

void RegistrySearchPanel::showAll()
{
    m_text->clear();
    if (core::runGuarded(m_dialogs, [&] { m_search.search(registry::SearchMode::All, {}); }))
        showRows();
}

void RegistrySearchPanel::loadMoreIfAtEnd()
{
    QScrollBar* bar = m_grid->verticalScrollBar();
    if (bar->value() < bar->maximum() || !m_search.hasMore())
        return;
    const int row = m_grid->currentIndex().row();
    if (core::runGuarded(m_dialogs, [&] { m_search.loadMore(); })) {
        m_model->setRows(m_search.rows());
        m_grid->hideColumn(0);
        if (row >= 0)
            m_grid->setCurrentIndex(m_model->index(row, 2));
    }
}

bool RegistrySearchPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == m_grid && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            emit activated(currentKey());
            return true;
        }
        if (watched == m_text && key->key() == Qt::Key_Down) { // from the search line into the grid
            m_grid->setFocus();
            return true;
        }
        if (watched == m_grid && key->key() == Qt::Key_End && m_search.hasMore()) {
            core::runGuarded(m_dialogs, [&] {
                while (m_search.loadMore()) {
                }
            });
            m_model->setRows(m_search.rows());
            m_grid->hideColumn(0);
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---- RegistryListWindow ----

RegistryListWindow::RegistryListWindow(const registry::RegistryKind& kind, const QString& title,
                                       WindowEnvironment& environment, QWidget* parent)
    : Window(parent), m_dialogs(environment.dialogs),
      m_logic(kind, environment.connections.company(), environment.session, environment.paths,
              environment.dialogs, environment.navigator)
{
    m_logic.setWebAccounts(registry::WebAccounts::of(environment.connections));
    m_logic.runExportsWith(environment.connections.companySettings(), backgroundJobRunner(this));
    setWindowTitle(title);
    resize(980, 600);

    m_panel = new RegistrySearchPanel(m_logic.search(), m_dialogs, kind, kind.isCustomers(), this);

    auto* newButton = commandButton(QStringLiteral("Nuovo"), this);
    auto* openButton = commandButton(QStringLiteral("Apri"), this);
    auto* deleteButton = commandButton(QStringLiteral("Elimina"), this);
    auto* exitButton = commandButton(QStringLiteral("Esci"), this);
    auto* commands = new QHBoxLayout;
    commands->addWidget(newButton);
    commands->addWidget(openButton);
    commands->addWidget(deleteButton);
    commands->addSpacing(24);
    for (gridexport::ExportFormat format : {gridexport::ExportFormat::Xml, gridexport::ExportFormat::Excel,
                                            gridexport::ExportFormat::Html, gridexport::ExportFormat::Text}) {
        auto* exportButton = commandButton(gridexport::GridExport::formatCaption(format), this);
        exportButton->setToolTip(QStringLiteral("Esporta la griglia"));
        connect(exportButton, &QPushButton::clicked, this, [this, format] { exportAs(format); });
        commands->addWidget(exportButton);
    }
    commands->addStretch();
    commands->addWidget(exitButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_panel, 1);
    layout->addLayout(commands);

    connect(m_panel, &RegistrySearchPanel::activated, this, &RegistryListWindow::openCurrent);
    connect(newButton, &QPushButton::clicked, this, &RegistryListWindow::newRecord);
    connect(openButton, &QPushButton::clicked, this, &RegistryListWindow::openCurrent);
    connect(deleteButton, &QPushButton::clicked, this, &RegistryListWindow::deleteCurrent);
    connect(exitButton, &QPushButton::clicked, this, &QDialog::reject);

    if (core::runGuarded(m_dialogs, [&] { m_logic.open(); }))
        m_panel->showRows();
    const QByteArray layoutState = m_logic.loadLayout();
    if (!layoutState.isEmpty())
        m_panel->grid()->horizontalHeader()->restoreState(layoutState);
    m_panel->grid()->hideColumn(0);
    m_panel->searchLine()->setFocus();
}

void RegistryListWindow::openCurrent()
{
    const QVariant key = m_panel->currentKey();
    if (core::runGuarded(m_dialogs, [&] { m_logic.openRecord(key); }))
        m_panel->showRows();
}

void RegistryListWindow::newRecord()
{
    if (core::runGuarded(m_dialogs, [&] { m_logic.newRecord(); }))
        m_panel->showRows();
}

void RegistryListWindow::deleteCurrent()
{
    const QVariant key = m_panel->currentKey();
    if (core::runGuarded(m_dialogs, [&] { m_logic.deleteRecord(key); }))
        m_panel->showRows();
}

void RegistryListWindow::exportAs(gridexport::ExportFormat format)
{
    core::runGuarded(m_dialogs, [&] { m_logic.exportGrid(format); });
}

void RegistryListWindow::done(int result)
{
    m_logic.saveLayout(m_panel->grid()->horizontalHeader()->saveState());
    Window::done(result);
}

} // namespace carvendo::ui
