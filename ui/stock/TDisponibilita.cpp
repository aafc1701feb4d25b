#include "ui/stock/TDisponibilita.h"

#include "core/CommandGuard.h"
#include "core/Connections.h"
#include "ui/common/PageWidgets.h"
#include "ui/common/RowsTableModel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace carvendo::ui {

TDisponibilita::TDisponibilita(WindowEnvironment& environment, const core::NavigationRequest& request,
                               QWidget* parent)
    : Window(parent), m_dialogs(environment.dialogs), m_logic(environment.connections.company())
{
    setWindowTitle(QStringLiteral("Disponibilità"));
    resize(640, 360);

    m_item = new QLabel(this);
    m_warehouse = new QComboBox(this);
    m_warehouse->setObjectName(QStringLiteral("magazzino"));
    m_model = new RowsTableModel(this);
    m_model->setColumns({{QStringLiteral("magazzino"), QStringLiteral("Magazzino")},
                         {QStringLiteral("giacenza"), QStringLiteral("Giacenza")},
                         {QStringLiteral("disponibilita"), QStringLiteral("Disponibilità")}});
    m_grid = readOnlyGrid(m_model, this);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    QPushButton* exit = pageButton(QStringLiteral("Esci"), QStringLiteral("esci"));

    auto* filters = new QFormLayout;
    filters->addRow(QStringLiteral("Articolo"), m_item);
    filters->addRow(QStringLiteral("Magazzino"), m_warehouse);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttonRow({exit}));

    connect(exit, &QPushButton::clicked, this, &QDialog::reject);

    core::runGuarded(m_dialogs, [&] {
        m_logic.open(request.key.toInt());
        m_warehouse->addItem(QStringLiteral("Tutti i magazzini"), QString());
        for (const QString& name : m_logic.warehouseNames())
            m_warehouse->addItem(name, name);
    });
    m_item->setText(m_logic.itemCaption());
    showRows();
    connect(m_warehouse, &QComboBox::currentIndexChanged, this, &TDisponibilita::applyFilter);
    m_warehouse->setFocus();
}

void TDisponibilita::applyFilter()
{
    const QString name = m_warehouse->currentData().toString();
    core::runGuarded(m_dialogs, [&] { m_logic.filterByWarehouse(name); });
    showRows();
}

void TDisponibilita::showRows()
{
    m_model->setRows(m_logic.rows());
}

} // namespace carvendo::ui
