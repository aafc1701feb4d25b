#pragma once

#include "pos/PosClassic.h"
#include "ui/common/Window.h"
#include "ui/common/WindowEnvironment.h"

#include <QList>

#include <memory>

class QButtonGroup;
class QCheckBox;
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
    QLineEdit* received() const { return m_received; }
    QLineEdit* fiscalCode() const { return m_fiscalCode; }

    // "Chiudi", Escape of the window manager: the open sale is discarded first.
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildHeader();
    QWidget* buildSalePage();
    QWidget* buildCashPage();
    QWidget* buildPaymentPages();
    QWidget* buildChequePage();
    QWidget* buildPackPage();
    QWidget* buildCustomersPage();
    QWidget* buildSuspendedPage();
    QWidget* buildItemsPage();
    QWidget* buildSidePanel();
    QPushButton* button(const QString& caption, const char* name, void (TPosClassic::*command)());
    void guarded(const std::function<void()>& command);
    void render();
    void renderPack();
    void renderSuspended();
    void showSuspendedRows();
    int selectedRow(QTableView* grid) const;
    int selectedKey(QTableView* grid, const QString& keyColumn) const;
    void readReceived();
    void readPackAmounts();

    // Commands.
    void scan();
    void goToCash() { m_logic->goToCash(); }
    void quickReceipt() { m_logic->close(pos::ClosingKind::QuickReceipt); }
    void fiscalReceipt();
    void confirmUnload();
    void newSale();
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
    void acquireCheque() { m_logic->acquireChequeImage(); }
    void closeTill();

    WindowEnvironment& m_environment;
    std::unique_ptr<pos::ReceiptPrinter> m_printer;
    std::unique_ptr<pos::PosClassic> m_logic;
    bool m_closing = false;
    int m_shownSale = 0; // the sale whose payment fields the "Cassa" page shows

    QStackedWidget* m_pages = nullptr;
    QStackedWidget* m_paymentPages = nullptr;
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
    // "Cassa".
    QLabel* m_paymentLabel = nullptr;
    QLabel* m_paymentIcon = nullptr;
    QLabel* m_cashTotal = nullptr;
    QLineEdit* m_received = nullptr;
    QLabel* m_change = nullptr;
    QLineEdit* m_fiscalCode = nullptr;
    QLineEdit* m_chequeAmount = nullptr;
    QLineEdit* m_chequeBank = nullptr;
    QLineEdit* m_chequeNumber = nullptr;
    QLabel* m_chequeImage = nullptr;
    QLabel* m_packDescription = nullptr;
    QButtonGroup* m_packOptions = nullptr;
    QCheckBox* m_royalty = nullptr;
    QCheckBox* m_commitment = nullptr;
    QLineEdit* m_customerContribution = nullptr;
    QLineEdit* m_operatorContribution = nullptr;
    QLineEdit* m_points = nullptr;
    QLineEdit* m_subscription = nullptr;
    QLineEdit* m_promotionDiscount = nullptr;
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
