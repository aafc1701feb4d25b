#pragma once

#include "core/Navigator.h"
#include "stock/loads/Carichi.h"
#include "stock/loads/Carico.h"
#include "stock/loads/CaricoSpeed.h"
#include "stock/loads/SupplierInvoiceImport.h"
#include "ui/common/Window.h"
#include "ui/common/WindowEnvironment.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableView;
class QTableWidget;

namespace carvendo::ui {

class ListPanel;
class RowsTableModel;
class WindowRegistry;

// The windows of goods-in: TCarichi (list), TCarico (the load), TCaricoDialogo (one row), TCaricoSpeed.
void registerLoadWindows(WindowRegistry& registry);

// One row of a load: details, and per item the serial and lot pages or the size/colour grid.
// "Conferma" posts the row through the load window's logic; "Annulla" gives back its serials.
class TCaricoDialogo : public Window
{
    Q_OBJECT
public:
    TCaricoDialogo(core::Dialogs& dialogs, stock::Carico& load, std::unique_ptr<stock::CaricoDialogo> row,
                   QWidget* parent = nullptr);
    ~TCaricoDialogo() override;

    stock::CaricoDialogo& logic() { return *m_row; }
    QTabWidget* pages() const { return m_pages; }
    void reject() override;

private:
    QWidget* detailsPage();
    QWidget* serialPage();
    QWidget* lotPage();
    QWidget* sizeColourPage();
    void confirm();
    void addSerial(bool byEnter);
    void showSerials();
    void showGrid();

    core::Dialogs& m_dialogs;
    stock::Carico& m_load;
    std::unique_ptr<stock::CaricoDialogo> m_row;
    QTabWidget* m_pages = nullptr;
    QLineEdit* m_quantity = nullptr;
    QLineEdit* m_price = nullptr;
    QLineEdit* m_discount1 = nullptr;
    QLineEdit* m_discount2 = nullptr;
    QLineEdit* m_serial = nullptr;
    QListWidget* m_rowSerials = nullptr;
    QListWidget* m_itemSerials = nullptr;
    QLabel* m_serialCount = nullptr;
    QComboBox* m_colour = nullptr;
    QTableWidget* m_grid = nullptr;
    bool m_fillingGrid = false;
};

// The load: header, rows entered by barcode, search, picker or a new item, totals, save, print.
class TCarico : public Window
{
    Q_OBJECT
public:
    TCarico(WindowEnvironment& environment, const core::NavigationRequest& request,
            QWidget* parent = nullptr);

    stock::Carico& logic() { return m_logic; }
    QLineEdit* barcode() const { return m_barcode; }
    QTableView* grid() const { return m_grid; }
    // The row dialog open on this window, if any.
    TCaricoDialogo* rowDialog() const;
    void reject() override;

private:
    void showState();
    void openRow(std::unique_ptr<stock::CaricoDialogo> row);
    void searchItem();
    int selectedRowId() const;
    void guarded(const std::function<void()>& command);

    core::Dialogs& m_dialogs;
    stock::Carico m_logic;
    QLineEdit* m_supplier = nullptr;
    QComboBox* m_warehouse = nullptr;
    QLabel* m_number = nullptr;
    QLineEdit* m_docNumber = nullptr;
    QLineEdit* m_docKind = nullptr;
    QDateEdit* m_docDate = nullptr;
    QComboBox* m_reason = nullptr;
    QComboBox* m_payment = nullptr;
    QLineEdit* m_barcode = nullptr;
    QComboBox* m_searchColumn = nullptr;
    QLineEdit* m_search = nullptr;
    QTableView* m_grid = nullptr;
    RowsTableModel* m_model = nullptr;
    QLabel* m_totals = nullptr;
    QPushButton* m_exit = nullptr;
    bool m_closing = false;
};

// The list of loads.
class TCarichi : public Window
{
    Q_OBJECT
public:
    TCarichi(WindowEnvironment& environment, const core::NavigationRequest& request,
             QWidget* parent = nullptr);

    stock::Carichi& logic() { return m_logic; }
    QTableView* grid() const;

private:
    void search();
    // "Importa fattura elettronica": the loads made, the first one opened.
    void importEInvoice();

    WindowEnvironment& m_environment;
    core::Dialogs& m_dialogs;
    stock::Carichi m_logic;
    QLineEdit* m_text = nullptr;
    QComboBox* m_by = nullptr;
    QCheckBox* m_useYear = nullptr;
    QSpinBox* m_year = nullptr;
    ListPanel* m_list = nullptr;
};

// The lines of a supplier's electronic invoice that no item matched: for each, an item chosen, a new
// item, or nothing loaded ("Salta").
class TRigheFatturaFornitore : public Window
{
    Q_OBJECT
public:
    TRigheFatturaFornitore(WindowEnvironment& environment, QList<einvoice::SupplierInvoiceLine> lines,
                           QWidget* parent = nullptr);

    stock::UnmatchedLinesChoice& logic() { return m_logic; }
    QTableWidget* list() const { return m_list; }

private:
    void showDecisions();
    int selectedLine() const;

    stock::UnmatchedLinesChoice m_logic;
    QTableWidget* m_list = nullptr;
};

// The fast load by scanning.
class TCaricoSpeed : public Window
{
    Q_OBJECT
public:
    TCaricoSpeed(WindowEnvironment& environment, const core::NavigationRequest& request,
                 QWidget* parent = nullptr);

    stock::CaricoSpeed& logic() { return m_logic; }
    QLineEdit* barcode() const { return m_barcode; }
    void reject() override;

private:
    void showState();
    void guarded(const std::function<void()>& command);

    core::Dialogs& m_dialogs;
    stock::CaricoSpeed m_logic;
    QLineEdit* m_supplier = nullptr;
    QComboBox* m_payment = nullptr;
    QLineEdit* m_barcode = nullptr;
    QLabel* m_description = nullptr;
    QLineEdit* m_cost = nullptr;
    QLineEdit* m_quantity = nullptr;
    QTableView* m_grid = nullptr;
    RowsTableModel* m_model = nullptr;
    QLabel* m_totals = nullptr;
    bool m_closing = false;
};

} // namespace carvendo::ui
