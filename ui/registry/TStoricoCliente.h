#pragma once

#include "core/Navigator.h"
#include "registry/StoricoCliente.h"
#include "ui/common/Window.h"
#include "ui/common/WindowEnvironment.h"

class QComboBox;
class QLineEdit;
class QTableView;

namespace carvendo::ui {

class RowsTableModel;

// The sales history of a customer: find the customer by name, codice fiscale or partita IVA,
// choose it, see everything it bought. Opened on a customer (request key `idCliente`) it shows
// that customer's sales at once.
class TStoricoCliente : public Window
{
    Q_OBJECT
public:
    TStoricoCliente(WindowEnvironment& environment, const core::NavigationRequest& request,
                    QWidget* parent = nullptr);

    registry::StoricoCliente& logic() { return m_logic; }
    QLineEdit& searchText() { return *m_text; }
    QComboBox& searchMode() { return *m_mode; }
    RowsTableModel& customers() { return *m_customers; }
    RowsTableModel& sales() { return *m_sales; }

    // "Cerca" and choosing a customer; a failure is shown and the window stays as it was.
    void search();
    void showCustomer(int row);

private:
    void showSales();

    core::Dialogs& m_dialogs;
    registry::StoricoCliente m_logic;
    QLineEdit* m_text = nullptr;
    QComboBox* m_mode = nullptr;
    QTableView* m_customerGrid = nullptr;
    RowsTableModel* m_customers = nullptr;
    RowsTableModel* m_sales = nullptr;
};

} // namespace carvendo::ui
