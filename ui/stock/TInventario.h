#pragma once

#include "core/Navigator.h"
#include "stock/Inventario.h"
#include "ui/common/Window.h"
#include "ui/common/WindowEnvironment.h"

#include <QMap>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QTableView;

namespace carvendo::ui {

class RowsTableModel;

// The inventory: options (warehouse, stock filter, period of the average cost), "Elabora" behind a
// progress bar, the rows and totals, the print preview and the exports to the inventory folder.
class TInventario : public Window
{
    Q_OBJECT
public:
    TInventario(WindowEnvironment& environment, const core::NavigationRequest& request,
                QWidget* parent = nullptr);

    stock::Inventario& logic() { return m_logic; }
    QComboBox* warehouseChoice() const { return m_warehouse; }
    QComboBox* stockFilter() const { return m_filter; }
    QCheckBox* periodChoice() const { return m_period; }
    QDateEdit* periodFrom() const { return m_from; }
    QDateEdit* periodTo() const { return m_to; }
    QTableView* grid() const { return m_grid; }
    QPushButton* runButton() const { return m_run; }
    QPushButton* exportButton(stock::InventoryExport kind) const { return m_exports.value(kind); }
    QLabel* totalLabel(const QString& name) const { return m_totals.value(name); }

private:
    void runInventory();
    void showResult();
    void loadMoreIfAtEnd();
    void setOutputEnabled(bool enabled);

    core::Dialogs& m_dialogs;
    stock::Inventario m_logic;
    QComboBox* m_warehouse = nullptr;
    QComboBox* m_filter = nullptr;
    QCheckBox* m_period = nullptr;
    QDateEdit* m_from = nullptr;
    QDateEdit* m_to = nullptr;
    QPushButton* m_run = nullptr;
    QPushButton* m_print = nullptr;
    QMap<stock::InventoryExport, QPushButton*> m_exports;
    QTableView* m_grid = nullptr;
    RowsTableModel* m_model = nullptr;
    QMap<QString, QLabel*> m_totals;
};

} // namespace carvendo::ui
