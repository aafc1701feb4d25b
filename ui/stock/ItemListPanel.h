#pragma once

#include "stock/Articoli.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace carvendo::core {
class Dialogs;
} // namespace carvendo::core

namespace carvendo::ui {

class RowsTableModel;

// The search fields, warehouse selector, grid and stock of the current item shared by the item list
// and the item picker. Each field runs its search on Enter; the grid loads further pages as it
// scrolls to its end; Enter or a double click on a row activates the item.
class ItemListPanel : public QWidget
{
    Q_OBJECT

public:
    ItemListPanel(stock::Articoli& logic, core::Dialogs& dialogs, QWidget* parent = nullptr);

    // Fills the warehouse selector and opens the list on every item.
    void open();

    QTableView* grid() const { return m_grid; }
    QLineEdit* descriptionField() const { return m_description; }
    QLineEdit* barcodeField() const { return m_barcode; }
    QLineEdit* codeField() const { return m_code; }
    QLineEdit* supplierCodeField() const { return m_supplierCode; }
    QLineEdit* supplierField() const { return m_supplier; }
    QLineEdit* serialField() const { return m_serial; }
    QComboBox* modeSelector() const { return m_mode; }
    QComboBox* warehouseSelector() const { return m_warehouse; }
    QString stockText() const; // what the stock labels show, for tests and screen readers

signals:
    void activated();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void searchField(stock::ItemField field, QLineEdit* line);
    void showRows();
    void showCurrent();
    void showRow(int row);
    void gridMoved();
    void warehouseChosen();
    void loadMoreIfAtEnd();

    stock::Articoli& m_logic;
    core::Dialogs& m_dialogs;
    QComboBox* m_warehouse = nullptr;
    QComboBox* m_mode = nullptr;
    QLineEdit* m_description = nullptr;
    QLineEdit* m_barcode = nullptr;
    QLineEdit* m_code = nullptr;
    QLineEdit* m_supplierCode = nullptr;
    QLineEdit* m_supplier = nullptr;
    QLineEdit* m_serial = nullptr;
    QTableView* m_grid = nullptr;
    RowsTableModel* m_model = nullptr;
    QLabel* m_giacenza = nullptr;
    QLabel* m_disponibilita = nullptr;
    QLabel* m_caricato = nullptr;
    QLabel* m_venduto = nullptr;
    QLabel* m_reso = nullptr;
    bool m_syncing = false; // the grid is being set from the logic: its moves are not the operator's
};

} // namespace carvendo::ui
