#pragma once

#include "core/Navigator.h"
#include "stock/MovimentiMagazzino.h"
#include "ui/common/Window.h"
#include "ui/common/WindowEnvironment.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace carvendo::ui {

class RowsTableModel;

// The stock movements: the sale rows of every document, filtered by period, document kind, item
// and warehouse, newest first and loaded a page at a time as the grid scrolls; the serials of the
// chosen movement below; "Stampa" shows the printed list in the preview.
class TMovimentiMagazzino : public Window
{
    Q_OBJECT
public:
    TMovimentiMagazzino(WindowEnvironment& environment, const core::NavigationRequest& request,
                        QWidget* parent = nullptr);

    stock::MovimentiMagazzino& logic() { return m_logic; }
    QTableView* grid() const { return m_grid; }
    QTableView* serialsGrid() const { return m_serialsGrid; }
    QComboBox* periodBox() const { return m_period; }
    QComboBox* kindBox() const { return m_kind; }
    QComboBox* warehouseBox() const { return m_warehouse; }
    QLineEdit* itemLine() const { return m_item; }
    QDateEdit* fromEdit() const { return m_from; }
    QDateEdit* toEdit() const { return m_to; }

public slots:
    void runSearch();
    void chooseItem();
    void clearItem();
    void print();

private:
    stock::MovementFilter currentFilter() const;
    void showRows();
    void showSerials();
    void loadMoreIfAtEnd();
    void followPeriod();

    core::Dialogs& m_dialogs;
    stock::MovimentiMagazzino m_logic;
    int m_itemId = 0;
    QString m_itemCode; // the code of the item filtered by, as shown
    QComboBox* m_period = nullptr;
    QDateEdit* m_from = nullptr;
    QDateEdit* m_to = nullptr;
    QComboBox* m_kind = nullptr;
    QComboBox* m_warehouse = nullptr;
    QLineEdit* m_item = nullptr;
    QLabel* m_itemName = nullptr;
    QTableView* m_grid = nullptr;
    RowsTableModel* m_model = nullptr;
    QTableView* m_serialsGrid = nullptr;
    RowsTableModel* m_serialsModel = nullptr;
};

} // namespace carvendo::ui
