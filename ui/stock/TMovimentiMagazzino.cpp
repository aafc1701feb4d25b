#include "ui/stock/TMovimentiMagazzino.h"

#include "core/Clock.h"
#include "core/CommandGuard.h"
#include "core/Connections.h"
#include "ui/common/PageWidgets.h"
#include "ui/common/RowsTableModel.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace carvendo::ui {

TMovimentiMagazzino::TMovimentiMagazzino(WindowEnvironment& environment, const core::NavigationRequest&,
                                         QWidget* parent)
    : Window(parent), m_dialogs(environment.dialogs),
      m_logic(environment.connections.company(), environment.dialogs, environment.reports, environment.clock)
{
    setWindowTitle(QStringLiteral("Movimenti di Magazzino"));
    resize(1100, 680);

    const QDate today = environment.clock.today();
    m_period = new QComboBox(this);
    m_period->addItem(QStringLiteral("Tutti i movimenti"), int(stock::MovementFilter::Period::All));
    m_period->addItem(QStringLiteral("Movimenti del giorno"), int(stock::MovementFilter::Period::Day));
    m_period->addItem(QStringLiteral("Movimenti del periodo"), int(stock::MovementFilter::Period::Range));
    m_from = dateField(today, this);
    m_to = dateField(today, this);

    m_kind = new QComboBox(this);
    m_kind->addItem(QStringLiteral("Tutti"), QString());
    for (const QString& kind : stock::MovimentiMagazzino::documentKinds())
        m_kind->addItem(kind, kind);

    m_warehouse = new QComboBox(this);
    m_warehouse->addItem(QStringLiteral("Tutti"), 0);
    core::runGuarded(m_dialogs, [&] {
        for (const core::Row& row : m_logic.warehouses())
            m_warehouse->addItem(row.value("Descrizione").toString(), row.value("idMagazzino").toInt());
    });

    m_item = new QLineEdit(this);
    m_item->setPlaceholderText(QStringLiteral("Codice o barcode"));
    m_itemName = new QLabel(QStringLiteral("Tutti gli articoli"), this);
    auto* allItems = commandButton(QStringLiteral("Tutti gli articoli"), this);
    auto* itemRow = new QHBoxLayout;
    itemRow->addWidget(m_item);
    itemRow->addWidget(m_itemName, 1);
    itemRow->addWidget(allItems);

    auto* dates = new QHBoxLayout;
    dates->addWidget(m_period);
    dates->addWidget(new QLabel(QStringLiteral("Dal"), this));
    dates->addWidget(m_from);
    dates->addWidget(new QLabel(QStringLiteral("Al"), this));
    dates->addWidget(m_to);
    dates->addStretch();

    auto* filters = new QGroupBox(QStringLiteral("Filtri"), this);
    auto* form = new QFormLayout(filters);
    form->addRow(QStringLiteral("Periodo"), dates);
    form->addRow(QStringLiteral("Tipo documento"), m_kind);
    form->addRow(QStringLiteral("Magazzino"), m_warehouse);
    form->addRow(QStringLiteral("Articolo"), itemRow);
    auto* search = new QPushButton(QStringLiteral("Cerca"), this);
    search->setDefault(true);
    form->addRow(QString(), search);

    m_model = new RowsTableModel(this);
    m_model->setColumns({{QStringLiteral("data"), QStringLiteral("Data")},
                         {QStringLiteral("TipoDoc"), QStringLiteral("Documento")},
                         {QStringLiteral("idDoc"), QStringLiteral("Rif. Doc.")},
                         {QStringLiteral("Codice"), QStringLiteral("Codice")},
                         {QStringLiteral("Descrizione"), QStringLiteral("Descrizione")},
                         {QStringLiteral("quantita"), QStringLiteral("Quantità")},
                         {QStringLiteral("PrezzoVendita"), QStringLiteral("Prezzo"), true},
                         {QStringLiteral("Magazzino"), QStringLiteral("Magazzino")},
                         {QStringLiteral("cliente"), QStringLiteral("Cliente")},
                         {QStringLiteral("Operatore"), QStringLiteral("Operatore")}});
    m_grid = readOnlyGrid(m_model, this);
    m_grid->horizontalHeader()->setSectionResizeMode(4, QHeaderView::Stretch);

    m_serialsModel = new RowsTableModel(this);
    m_serialsModel->setColumns({{QStringLiteral("Seriale"), QStringLiteral("Seriale")},
                                {QStringLiteral("codarticolo"), QStringLiteral("Codice")},
                                {QStringLiteral("descrizione"), QStringLiteral("Descrizione")},
                                {QStringLiteral("DataScarico"), QStringLiteral("Data scarico")}});
    m_serialsGrid = readOnlyGrid(m_serialsModel, this);
    m_serialsGrid->horizontalHeader()->setStretchLastSection(true);
    m_serialsGrid->setMaximumHeight(140);

    auto* printButton = commandButton(QStringLiteral("Stampa"), this);
    auto* exitButton = commandButton(QStringLiteral("Esci"), this);
    auto* commands = new QHBoxLayout;
    commands->addWidget(printButton);
    commands->addStretch();
    commands->addWidget(exitButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filters);
    layout->addWidget(m_grid, 1);
    layout->addWidget(new QLabel(QStringLiteral("Seriali del movimento selezionato"), this));
    layout->addWidget(m_serialsGrid);
    layout->addLayout(commands);

    connect(m_period, &QComboBox::currentIndexChanged, this, &TMovimentiMagazzino::followPeriod);
    connect(search, &QPushButton::clicked, this, &TMovimentiMagazzino::runSearch);
    // Enter in the item line reaches the default "Cerca", which looks the typed code up first.
    connect(allItems, &QPushButton::clicked, this, &TMovimentiMagazzino::clearItem);
    connect(printButton, &QPushButton::clicked, this, &TMovimentiMagazzino::print);
    connect(exitButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_grid->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &TMovimentiMagazzino::loadMoreIfAtEnd);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TMovimentiMagazzino::showSerials);

    followPeriod();
    if (core::runGuarded(m_dialogs, [&] { m_logic.search({}); }))
        showRows();
    m_period->setFocus();
}

void TMovimentiMagazzino::followPeriod()
{
    const auto period = stock::MovementFilter::Period(m_period->currentData().toInt());
    m_from->setEnabled(period != stock::MovementFilter::Period::All);
    m_to->setEnabled(period == stock::MovementFilter::Period::Range);
}

stock::MovementFilter TMovimentiMagazzino::currentFilter() const
{
    stock::MovementFilter filter;
    filter.period = stock::MovementFilter::Period(m_period->currentData().toInt());
    filter.day = m_from->date();
    filter.from = m_from->date();
    filter.to = m_to->date();
    filter.tipoDoc = m_kind->currentData().toString();
    filter.idArticolo = m_itemId;
    filter.idMagazzino = m_warehouse->currentData().toInt();
    return filter;
}

void TMovimentiMagazzino::runSearch()
{
    // A code typed but not confirmed with Enter is looked up first; an emptied line means every item.
    const QString typed = m_item->text().trimmed();
    if (typed.isEmpty() && m_itemId != 0) {
        clearItem();
        return;
    }
    if (!typed.isEmpty() && typed != m_itemCode) {
        chooseItem();
        return;
    }
    bool found = false;
    if (core::runGuarded(m_dialogs, [&] { found = m_logic.search(currentFilter()); }) && found)
        showRows();
}

void TMovimentiMagazzino::chooseItem()
{
    const QString typed = m_item->text().trimmed();
    std::optional<stock::MovementItem> item;
    if (!core::runGuarded(m_dialogs, [&] { item = m_logic.findItem(typed); }) || !item)
        return;
    m_itemId = item->id;
    m_itemCode = item->code.isEmpty() ? typed : item->code;
    m_item->setText(m_itemCode);
    m_itemName->setText(item->description);
    runSearch();
}

void TMovimentiMagazzino::clearItem()
{
    m_itemId = 0;
    m_itemCode.clear();
    m_item->clear();
    m_itemName->setText(QStringLiteral("Tutti gli articoli"));
    runSearch();
}

void TMovimentiMagazzino::print()
{
    core::runGuarded(m_dialogs, [&] { m_logic.print(); });
}

void TMovimentiMagazzino::showRows()
{
    const int row = m_grid->currentIndex().row();
    m_model->setRows(m_logic.rows());
    if (m_model->rowCount() > 0)
        m_grid->setCurrentIndex(m_model->index(qBound(0, row, m_model->rowCount() - 1), 0));
    showSerials();
}

void TMovimentiMagazzino::showSerials()
{
    core::Rows serials;
    const int row = m_grid->currentIndex().row();
    core::runGuarded(m_dialogs, [&] { serials = m_logic.serialsOf(row); });
    m_serialsModel->setRows(serials);
}

void TMovimentiMagazzino::loadMoreIfAtEnd()
{
    QScrollBar* bar = m_grid->verticalScrollBar();
    if (bar->value() < bar->maximum() || !m_logic.hasMore())
        return;
    const int row = m_grid->currentIndex().row();
    if (core::runGuarded(m_dialogs, [&] { m_logic.loadMore(); })) {
        m_model->setRows(m_logic.rows());
        if (row >= 0)
            m_grid->setCurrentIndex(m_model->index(row, 0));
    }
}

} // namespace carvendo::ui
