#include "ui/registry/TStoricoCliente.h"

#include "core/CommandGuard.h"
#include "core/Connections.h"
#include "ui/common/PageWidgets.h"
#include "ui/common/RowsTableModel.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace carvendo::ui {

namespace {

QTableView* grid(RowsTableModel* model)
{
    auto* view = new QTableView;
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return view;
}

} // namespace

TStoricoCliente::TStoricoCliente(WindowEnvironment& environment, const core::NavigationRequest& request,
                                 QWidget* parent)
    : Window(parent), m_dialogs(environment.dialogs),
      m_logic(environment.connections.company(), environment.dialogs)
{
    setWindowTitle(QStringLiteral("Storico Cliente"));
    resize(860, 600);

    m_text = new QLineEdit;
    m_mode = new QComboBox;
    m_mode->addItems(
        {QStringLiteral("Ragione sociale"), QStringLiteral("Codice fiscale"), QStringLiteral("Partita IVA")});
    QPushButton* find = pageButton(QStringLiteral("Cerca"), QStringLiteral("cerca"));

    m_customers = new RowsTableModel(this);
    m_customers->setColumns({{QStringLiteral("CodiceCliente"), QStringLiteral("Codice")},
                             {QStringLiteral("RagioneSociale"), QStringLiteral("Ragione Sociale")},
                             {QStringLiteral("CodFisc"), QStringLiteral("Codice Fiscale")},
                             {QStringLiteral("pIva"), QStringLiteral("Partita IVA")},
                             {QStringLiteral("Citta"), QStringLiteral("Città")}});
    m_sales = new RowsTableModel(this);
    m_customerGrid = grid(m_customers);

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(m_mode);
    searchRow->addWidget(m_text, 1);
    searchRow->addWidget(find);

    auto* buttons = new QDialogButtonBox;
    QPushButton* close = buttons->addButton(QStringLiteral("Esci"), QDialogButtonBox::RejectRole);
    close->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addWidget(m_customerGrid, 1);
    layout->addWidget(grid(m_sales), 2);
    layout->addWidget(buttons);

    connect(m_text, &QLineEdit::returnPressed, this, &TStoricoCliente::search);
    connect(find, &QPushButton::clicked, this, &TStoricoCliente::search);
    connect(m_customerGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { showCustomer(m_customers->rowOf(current)); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    if (request.key.isValid() && !request.key.isNull())
        core::runGuarded(m_dialogs, [&] {
            if (m_logic.open(request.key.toInt()))
                showSales();
        });
    m_text->setFocus();
}

void TStoricoCliente::search()
{
    using By = registry::StoricoCliente::SearchBy;
    const By by = m_mode->currentIndex() == 1   ? By::CodiceFiscale
                  : m_mode->currentIndex() == 2 ? By::PartitaIva
                                                : By::Name;
    core::runGuarded(m_dialogs, [&] {
        m_customers->setRows(m_logic.findCustomers(by, m_text->text()));
        m_sales->setRows({});
        if (m_customers->rowCount() > 0)
            m_customerGrid->selectRow(0);
    });
}

void TStoricoCliente::showCustomer(int row)
{
    if (row < 0 || row >= m_customers->rows().size())
        return;
    core::runGuarded(m_dialogs, [&] {
        if (m_logic.open(m_customers->rows()[row][QStringLiteral("idCliente")].toInt()))
            showSales();
    });
}

void TStoricoCliente::showSales()
{
    setWindowTitle(m_logic.title());
    m_sales->setRows(m_logic.sales());
}

} // namespace carvendo::ui
