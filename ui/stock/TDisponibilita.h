#pragma once

#include "core/Navigator.h"
#include "stock/Disponibilita.h"
#include "ui/common/Window.h"
#include "ui/common/WindowEnvironment.h"

class QComboBox;
class QLabel;
class QTableView;

namespace carvendo::ui {

class RowsTableModel;

// The stock of one item (request key: the item's `ID`) in every warehouse, with a warehouse filter.
class TDisponibilita : public Window
{
    Q_OBJECT
public:
    TDisponibilita(WindowEnvironment& environment, const core::NavigationRequest& request,
                   QWidget* parent = nullptr);

    stock::Disponibilita& logic() { return m_logic; }
    QComboBox* warehouseFilter() const { return m_warehouse; }
    QTableView* grid() const { return m_grid; }

private:
    void applyFilter();
    void showRows();

    core::Dialogs& m_dialogs;
    stock::Disponibilita m_logic;
    QLabel* m_item = nullptr;
    QComboBox* m_warehouse = nullptr;
    QTableView* m_grid = nullptr;
    RowsTableModel* m_model = nullptr;
};

} // namespace carvendo::ui
