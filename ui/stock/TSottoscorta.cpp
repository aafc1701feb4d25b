#include "ui/stock/TSottoscorta.h"

#include "core/CommandGuard.h"
#include "core/Connections.h"
#include "ui/common/PageWidgets.h"
#include "ui/common/RowsTableModel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <functional>

namespace carvendo::ui {

// The grid of the work list, with the quantity to order edited in place. An edit goes to the logic,
// which stores it or refuses it.
class UnderStockModel : public RowsTableModel
{
public:
    using Store = std::function<bool(int row, int quantity)>;

    UnderStockModel(int editableColumn, Store store, QObject* parent)
        : RowsTableModel(parent), m_editable(editableColumn), m_store(std::move(store))
    {
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        Qt::ItemFlags result = RowsTableModel::flags(index);
        if (index.column() == m_editable)
            result |= Qt::ItemIsEditable;
        return result;
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role == Qt::EditRole && index.column() == m_editable)
            return rows().value(index.row(), "qtaordine").toInt();
        return RowsTableModel::data(index, role);
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (role != Qt::EditRole || index.column() != m_editable)
            return false;
        return m_store(index.row(), value.toInt());
    }

private:
    int m_editable;
    Store m_store;
};

namespace {

const int QuantityColumn = 6;

QList<RowsTableModel::Column> gridColumns()
{
    return {{QStringLiteral("codart"), QStringLiteral("Codice")},
            {QStringLiteral("descrizione"), QStringLiteral("Descrizione")},
            {QStringLiteral("barcode"), QStringLiteral("Barcode")},
            {QStringLiteral("fornitore"), QStringLiteral("Fornitore")},
            {QStringLiteral("giacenza"), QStringLiteral("Giacenza")},
            {QStringLiteral("scorta"), QStringLiteral("Scorta")},
            {QStringLiteral("qtaordine"), QStringLiteral("Q.tà da ordinare")},
            {QStringLiteral("um"), QStringLiteral("UM")},
            {QStringLiteral("prezzoacquisto"), QStringLiteral("Prezzo acquisto"), true},
            {QStringLiteral("aliquota"), QStringLiteral("IVA")}};
}

} // namespace

TSottoscorta::TSottoscorta(WindowEnvironment& environment, const core::NavigationRequest&, QWidget* parent)
    : Window(parent), m_dialogs(environment.dialogs),
      m_logic(environment.connections.company(), environment.clock, environment.dialogs, environment.reports)
{
    setWindowTitle(QStringLiteral("Articoli sottoscorta"));
    resize(980, 560);

    m_supplier = new QComboBox(this);
    m_supplier->setObjectName(QStringLiteral("fornitore"));
    m_supplier->setMinimumWidth(260);

    m_model = new UnderStockModel(
        QuantityColumn,
        [this](int row, int quantity) {
            const int id = m_logic.rows().value(row, "id").toInt();
            bool stored = false;
            core::runGuarded(m_dialogs, [&] { stored = m_logic.setQuantityToOrder(id, quantity); });
            if (stored) // the row is shown as stored, after the edit has left the grid
                QMetaObject::invokeMethod(this, &TSottoscorta::showRows, Qt::QueuedConnection);
            return stored;
        },
        this);
    m_model->setColumns(gridColumns());
    m_grid = new QTableView(this);
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    m_grid->setTabKeyNavigation(false);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);

    QPushButton* print = pageButton(QStringLiteral("Stampa"), QStringLiteral("stampa"));
    m_order = pageButton(QStringLiteral("Crea Ordine Fornitore"), QStringLiteral("ordine"));
    m_order->setEnabled(stock::Sottoscorta::canOrder());
    m_order->setToolTip(stock::Sottoscorta::orderUnavailableReason());
    QPushButton* exit = pageButton(QStringLiteral("Esci"), QStringLiteral("esci"));

    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(new QLabel(QStringLiteral("Fornitore"), this));
    filterRow->addWidget(m_supplier);
    filterRow->addStretch();
    auto* commands = new QHBoxLayout;
    commands->addWidget(print);
    commands->addWidget(m_order);
    commands->addStretch();
    commands->addWidget(exit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filterRow);
    layout->addWidget(m_grid, 1);
    layout->addLayout(commands);

    connect(print, &QPushButton::clicked, this,
            [this] { core::runGuarded(m_dialogs, [&] { m_logic.print(); }); });
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);

    core::runGuarded(m_dialogs, [&] { m_logic.open(); });
    fillSuppliers();
    showRows();
    connect(m_supplier, &QComboBox::currentIndexChanged, this, &TSottoscorta::applyFilter);
    m_supplier->setFocus();
}

void TSottoscorta::fillSuppliers()
{
    m_supplier->addItem(QStringLiteral("Tutti i fornitori"), QString());
    core::runGuarded(m_dialogs, [&] {
        for (const QString& name : m_logic.suppliers())
            m_supplier->addItem(name, name);
    });
}

void TSottoscorta::applyFilter()
{
    const QString name = m_supplier->currentData().toString();
    core::runGuarded(m_dialogs, [&] { m_logic.filterBySupplier(name); });
    showRows();
}

void TSottoscorta::showRows()
{
    const QModelIndex current = m_grid->currentIndex();
    m_model->setRows(m_logic.rows());
    if (m_model->rowCount() > 0)
        m_grid->setCurrentIndex(
            m_model->index(current.isValid() ? qMin(current.row(), m_model->rowCount() - 1) : 0,
                           current.isValid() ? current.column() : QuantityColumn));
}

} // namespace carvendo::ui
