#include "ui/stock/TInventario.h"

#include "core/Clock.h"
#include "core/CommandGuard.h"
#include "core/Connections.h"
#include "ui/common/BackgroundTask.h"
#include "ui/common/PageWidgets.h"
#include "ui/common/RowsTableModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace carvendo::ui {

namespace {

QList<RowsTableModel::Column> gridColumns()
{
    QList<RowsTableModel::Column> columns;
    const QStringList names = stock::Inventario::columnNames();
    const QStringList captions = stock::Inventario::columnCaptions();
    for (int i = 0; i < names.size(); ++i) {
        const bool money = names.at(i).startsWith(QStringLiteral("ACQUISTO")) ||
                           names.at(i).startsWith(QStringLiteral("LISTINO"));
        columns.append({names.at(i), captions.at(i), money});
    }
    return columns;
}

} // namespace

TInventario::TInventario(WindowEnvironment& environment, const core::NavigationRequest&, QWidget* parent)
    : Window(parent), m_dialogs(environment.dialogs),
      m_logic(environment.connections.company(), environment.connections.companySettings(), environment.paths,
              environment.clock, environment.dialogs, environment.reports, backgroundJobRunner(this))
{
    setWindowTitle(QStringLiteral("Inventario"));
    resize(1080, 640);

    // Options.
    m_warehouse = new QComboBox(this);
    m_warehouse->setObjectName(QStringLiteral("magazzino"));
    core::runGuarded(m_dialogs, [&] {
        for (const stock::Inventario::WarehouseChoice& choice : m_logic.warehouses())
            m_warehouse->addItem(choice.name, choice.id);
    });
    m_filter = new QComboBox(this);
    m_filter->setObjectName(QStringLiteral("giacenza"));
    for (stock::StockFilter filter : stock::stockFilters())
        m_filter->addItem(stock::stockFilterCaption(filter), int(filter));
    const QDate today = environment.clock.today();
    m_period = new QCheckBox(QStringLiteral("Costo medio nel periodo"), this);
    m_from = dateField(QDate(today.year(), 1, 1), this);
    m_to = dateField(today, this);
    m_from->setEnabled(false);
    m_to->setEnabled(false);
    m_run = pageButton(QStringLiteral("Elabora"), QStringLiteral("elabora"));
    m_run->setDefault(true);

    auto* periodRow = new QHBoxLayout;
    periodRow->addWidget(m_period);
    periodRow->addWidget(new QLabel(QStringLiteral("Dal"), this));
    periodRow->addWidget(m_from);
    periodRow->addWidget(new QLabel(QStringLiteral("Al"), this));
    periodRow->addWidget(m_to);
    periodRow->addStretch();
    auto* optionsForm = new QFormLayout;
    optionsForm->addRow(QStringLiteral("Magazzino"), m_warehouse);
    optionsForm->addRow(QStringLiteral("Giacenza"), m_filter);
    optionsForm->addRow(QString(), periodRow);
    auto* optionsBox = new QGroupBox(QStringLiteral("Opzioni"), this);
    auto* optionsLayout = new QHBoxLayout(optionsBox);
    optionsLayout->addLayout(optionsForm, 1);
    optionsLayout->addWidget(m_run, 0, Qt::AlignBottom);

    // Rows.
    m_model = new RowsTableModel(this);
    m_model->setColumns(gridColumns());
    m_grid = readOnlyGrid(m_model, this);
    m_grid->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);

    // Totals.
    auto* totalsBox = new QGroupBox(QStringLiteral("Totali"), this);
    auto* totalsGrid = new QGridLayout(totalsBox);
    const QList<QPair<QString, QString>> totals{
        {QStringLiteral("VALOREACQ"), QStringLiteral("Valore acquisto")},
        {QStringLiteral("VALOREMEDIO"), QStringLiteral("Valore costo medio")},
        {QStringLiteral("VALORELISTINO1"), QStringLiteral("Valore listino 1")},
        {QStringLiteral("VALORELISTINO2"), QStringLiteral("Valore listino 2")},
        {QStringLiteral("VALORELISTINO3"), QStringLiteral("Valore listino 3")},
        {QStringLiteral("TOTGIAC"), QStringLiteral("Totale giacenza")},
        {QStringLiteral("TOTDISP"), QStringLiteral("Totale disponibilità")}};
    for (int i = 0; i < totals.size(); ++i) {
        auto* value = new QLabel(this);
        value->setObjectName(totals.at(i).first);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setMinimumWidth(110);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_totals.insert(totals.at(i).first, value);
        totalsGrid->addWidget(new QLabel(totals.at(i).second, this), i % 4, (i / 4) * 2);
        totalsGrid->addWidget(value, i % 4, (i / 4) * 2 + 1);
    }

    // Commands.
    m_print = pageButton(QStringLiteral("Stampa"), QStringLiteral("stampa"));
    auto* commands = new QHBoxLayout;
    commands->addWidget(m_print);
    const QList<QPair<stock::InventoryExport, QString>> exports{
        {stock::InventoryExport::Pdf, QStringLiteral("PDF")},
        {stock::InventoryExport::Excel, QStringLiteral("Excel")},
        {stock::InventoryExport::Csv, QStringLiteral("CSV")},
        {stock::InventoryExport::Html, QStringLiteral("HTML")}};
    for (const auto& [kind, caption] : exports) {
        QPushButton* button = pageButton(caption, caption.toLower());
        button->setToolTip(QStringLiteral("Esporta in documenti/inventari"));
        m_exports.insert(kind, button);
        commands->addWidget(button);
        connect(button, &QPushButton::clicked, this,
                [this, kind = kind] { core::runGuarded(m_dialogs, [&] { m_logic.exportAs(kind); }); });
    }
    commands->addStretch();
    QPushButton* exit = pageButton(QStringLiteral("Esci"), QStringLiteral("esci"));
    commands->addWidget(exit);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(optionsBox);
    layout->addWidget(m_grid, 1);
    layout->addWidget(totalsBox);
    layout->addLayout(commands);

    connect(m_period, &QCheckBox::toggled, m_from, &QWidget::setEnabled);
    connect(m_period, &QCheckBox::toggled, m_to, &QWidget::setEnabled);
    connect(m_run, &QPushButton::clicked, this, &TInventario::runInventory);
    connect(m_print, &QPushButton::clicked, this,
            [this] { core::runGuarded(m_dialogs, [&] { m_logic.print(); }); });
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_grid->verticalScrollBar(), &QScrollBar::valueChanged, this, &TInventario::loadMoreIfAtEnd);

    setOutputEnabled(false);
    m_warehouse->setFocus();
}

void TInventario::runInventory()
{
    stock::InventoryOptions& options = m_logic.options();
    options.idMagazzino = m_warehouse->currentData().toInt();
    options.filter = stock::StockFilter(m_filter->currentData().toInt());
    if (m_period->isChecked()) {
        options.dal = m_from->date();
        options.al = m_to->date();
    } else {
        options.dal.reset();
        options.al.reset();
    }
    bool done = false;
    core::runGuarded(m_dialogs, [&] { done = m_logic.run(); });
    if (done)
        showResult();
}

void TInventario::showResult()
{
    m_model->setRows(m_logic.rows());
    const stock::InventoryTotals& totals = m_logic.totals();
    m_totals.value(QStringLiteral("VALOREACQ"))->setText(totals.valoreAcq.toItalian());
    m_totals.value(QStringLiteral("VALOREMEDIO"))->setText(totals.valoreMedio.toItalian());
    m_totals.value(QStringLiteral("VALORELISTINO1"))->setText(totals.valoreListino1.toItalian());
    m_totals.value(QStringLiteral("VALORELISTINO2"))->setText(totals.valoreListino2.toItalian());
    m_totals.value(QStringLiteral("VALORELISTINO3"))->setText(totals.valoreListino3.toItalian());
    m_totals.value(QStringLiteral("TOTGIAC"))->setText(core::formatQuantity(totals.totGiac));
    m_totals.value(QStringLiteral("TOTDISP"))->setText(core::formatQuantity(totals.totDisp));
    setOutputEnabled(m_logic.isDone());
    if (m_model->rowCount() > 0)
        m_grid->setCurrentIndex(m_model->index(0, 0));
}

void TInventario::loadMoreIfAtEnd()
{
    QScrollBar* bar = m_grid->verticalScrollBar();
    if (bar->value() < bar->maximum() || !m_logic.hasMore())
        return;
    const QModelIndex current = m_grid->currentIndex();
    if (core::runGuarded(m_dialogs, [&] { m_logic.loadMore(); })) {
        m_model->setRows(m_logic.rows());
        if (current.isValid())
            m_grid->setCurrentIndex(m_model->index(current.row(), current.column()));
    }
}

void TInventario::setOutputEnabled(bool enabled)
{
    m_print->setEnabled(enabled);
    for (QPushButton* button : m_exports)
        button->setEnabled(enabled);
}

} // namespace carvendo::ui
