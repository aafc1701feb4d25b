#pragma once

#include "pos/PosClassic.h"
#include "ui/common/Window.h"
#include "ui/common/WindowEnvironment.h"

#include <QList>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QStandardItemModel;
class QTableView;

namespace carvendo::pos {
class ReceiptPrinter;
} // namespace carvendo::pos

namespace carvendo::ui {

class PosCashPage;
class RowsTableModel;
class SaleRowsModel;

// "Vendita al banco": the keyboard-and-scanner till. Five pages ("Vendita", "Cassa", "Clienti",
// "Vendite in sospeso", "Articoli"); the function keys shown on the buttons run them from the
// scanner field, which has the focus after every command on the "Vendita" page.
class TPosClassic : public Window
{
    Q_OBJECT
public:
    // Receipts go to the fiscal driver's folder of the shop's register (`casse`.`CartellaLavoro`).
    explicit TPosClassic(WindowEnvironment& environment, QWidget* parent = nullptr);
    ~TPosClassic() override;

    pos::PosClassic& logic() { return *m_logic; }
    QLineEdit* scanner() const { return m_scanner; }
    QTableView* grid() const { return m_grid; }
    QLineEdit* received() const;

    // "Chiudi", Escape of the window manager: the open sale is discarded first.
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildHeader();
    QWidget* buildSalePage();
    QWidget* buildCustomersPage();
    QWidget* buildSuspendedPage();
    QWidget* buildItemsPage();
    QWidget* buildSidePanel();
    QPushButton* button(const QString& caption, const char* name, void (TPosClassic::*command)());
    void guarded(const std::function<void()>& command);
    void render();
    void renderSuspended();
    void showSuspendedRows();
    int selectedRow(QTableView* grid) const;
    int selectedKey(QTableView* grid, const QString& keyColumn) const;

    // Commands.
    void scan();
    void goToCash() { m_logic->goToCash(); }
    void quickReceipt() { m_logic->close(pos::ClosingKind::QuickReceipt); }
    void newSale() { m_logic->close(pos::ClosingKind::NewSale); }
    void suspend() { m_logic->suspend(); }
    void resumePage() { m_logic->showSuspended(); }
    void resumeSelected();
    void removeRow() { m_logic->removeRow(selectedRow(m_grid)); }
    void discountOnTotal() { m_logic->discountOnTotal(); }
    void focusScanner();
    void backToSale() { m_logic->showSale(); }
    void customersPage();
    void itemsPage();
    void advancedSearch() { m_logic->advancedSearch(); }
    void logInOrOut() { m_logic->logInOrOut(); }
    void findCustomers();
    void allCustomers();
    void clearCustomers();
    void chooseCustomer();
    void newCustomer() { m_logic->newCustomer(); }
    void editCustomer();
    void customerHistory();
    void findItems();
    void allItems();
    void clearItems();
    void confirmItem() { m_logic->confirmItem(selectedKey(m_itemGrid, QStringLiteral("ID")), false); }
    void confirmItemAndClose() { m_logic->confirmItem(selectedKey(m_itemGrid, QStringLiteral("ID")), true); }
    void newItem() { m_logic->newItem(); }
    void closeTill();

    WindowEnvironment& m_environment;
    std::unique_ptr<pos::ReceiptPrinter> m_printer;
    std::unique_ptr<pos::PosClassic> m_logic;
    bool m_closing = false;

    QStackedWidget* m_pages = nullptr;
    // Header.
    QLabel* m_operatorName = nullptr;
    QLabel* m_operatorState = nullptr;
    QLabel* m_connectionTime = nullptr;
    QLabel* m_customer = nullptr;
    QPushButton* m_loginButton = nullptr;
    // Side panel.
    QLabel* m_total = nullptr;
    QLabel* m_itemCount = nullptr;
    QList<QPushButton*> m_needRows;
    QPushButton* m_suspendButton = nullptr;
    QPushButton* m_resumeButton = nullptr;
    // "Vendita".
    QLineEdit* m_scanner = nullptr;
    QTableView* m_grid = nullptr;
    SaleRowsModel* m_rows = nullptr;
    PosCashPage* m_cashPage = nullptr;
    // "Clienti".
    QLineEdit* m_customerSearch = nullptr;
    RowsTableModel* m_customerRows = nullptr;
    QTableView* m_customerGrid = nullptr;
    // "Vendite in sospeso".
    QStandardItemModel* m_suspended = nullptr;
    QTableView* m_suspendedGrid = nullptr;
    SaleRowsModel* m_suspendedRows = nullptr;
    // "Articoli".
    QLineEdit* m_itemDescription = nullptr;
    QLineEdit* m_itemCode = nullptr;
    RowsTableModel* m_itemRows = nullptr;
    QTableView* m_itemGrid = nullptr;
};

} // namespace carvendo::ui
