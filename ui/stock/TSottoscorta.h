#pragma once

#include "core/Navigator.h"
#include "stock/Sottoscorta.h"
#include "ui/common/Window.h"
#include "ui/common/WindowEnvironment.h"

class QComboBox;
class QPushButton;
class QTableView;

namespace carvendo::ui {

class UnderStockModel;

// The under-stock list: rebuilt on opening, narrowed to a supplier, the quantity to order typed in
// the grid, printed with a preview. Making the supplier order waits for supplier orders.
class TSottoscorta : public Window
{
    Q_OBJECT
public:
    TSottoscorta(WindowEnvironment& environment, const core::NavigationRequest& request,
                 QWidget* parent = nullptr);

    stock::Sottoscorta& logic() { return m_logic; }
    QComboBox* supplierFilter() const { return m_supplier; }
    QTableView* grid() const { return m_grid; }
    QPushButton* orderButton() const { return m_order; }

private:
    void fillSuppliers();
    void applyFilter();
    void showRows();

    core::Dialogs& m_dialogs;
    stock::Sottoscorta m_logic;
    QComboBox* m_supplier = nullptr;
    QTableView* m_grid = nullptr;
    UnderStockModel* m_model = nullptr;
    QPushButton* m_order = nullptr;
};

} // namespace carvendo::ui
