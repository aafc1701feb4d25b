#pragma once

#include "pos/PackUnload.h"
#include "pos/Sale.h"
#include "pos/SaleCheque.h"
#include "pos/SaleClosing.h"
#include "pos/TillOperator.h"
#include "pos/TillSettings.h"

#include "core/Money.h"
#include "registry/RegistryList.h"
#include "stock/Articoli.h"

#include <QList>
#include <QObject>
#include <QScopeGuard>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>

namespace carvendo::core {
class Clock;
class Db;
class Dialogs;
class Navigator;
class Paths;
class Session;
} // namespace carvendo::core

namespace carvendo::pos {

class ReceiptPrinter;

// The pages of the keyboard till.
enum class PosPage
{
    Vendita,
    Cassa,
    Clienti,
    Sospese, // "Vendite in sospeso"
    Articoli
};

// What the payment area of the "Cassa" page shows beside the payment buttons.
enum class PaymentPage
{
    Home,
    Banknotes, // "Contanti"
    Cheque,    // "Assegno"
    Voucher,   // "Buono di credito"
    Pack       // the operator pack's options
};

// A payment button: its caption, the payment type it chooses, the label and icon shown, the page it
// opens.
struct PaymentChoice
{
    QString caption;
    QString type;
    QString label;
    QString icon; // file name under the images folder; empty for none
    PaymentPage page = PaymentPage::Home;
};

// A banknote or coin button: "€. 0,01" … "€. 500".
struct Banknote
{
    QString caption;
    core::Money amount;
};

// The operator pack in the sale, as its page shows it.
struct PackItem
{
    QString description;
    bool points = false;     // `punti`: the points options and "Royalty (Raccolta Punti)"
    bool commitment = false; // `vincolo`: "Facile (Vincolo)"
};

// The logic of TPosClassic, the keyboard till: the open sale and its rows, the pages, the payment,
// the five closings, suspended sales, customer and item search, and the operator at the till with
// the idle logout. Every closing and suspension leaves a new open sale and the "Vendita" page.
class PosClassic : public QObject
{
    Q_OBJECT
public:
    struct Context
    {
        core::Db& db;
        core::Dialogs& dialogs;
        core::Navigator& navigator;
        const core::Session& session;
        const core::Paths& paths;
        const core::Clock& clock;
        ReceiptPrinter& printer;
    };

    static QString windowName() { return QStringLiteral("TPosClassic"); }
    static QString notAvailableMessage() { return QStringLiteral("Non ancora disponibile"); }
    static QString invoiceWindow() { return QStringLiteral("TFatturaImmediata"); }

    // settings: read from impostazioni.ini when the window opens (TillSettings::read).
    PosClassic(Context context, TillSettings settings, QObject* parent = nullptr);

    static const QList<PaymentChoice>& paymentChoices();
    static const QList<Banknote>& banknotes();

    // The till opens: a new sale, then the receipts this workstation did not hand over.
    void open();

    Sale& sale() { return m_sale; }
    const Sale& sale() const { return m_sale; }
    const QList<SaleRow>& rows() const { return m_rows; }
    TillOperator& tillOperator() { return m_operator; }
    const TillOperator& tillOperator() const { return m_operator; }

    // Pages.
    PosPage page() const { return m_page; }
    PaymentPage paymentPage() const { return m_paymentPage; }
    void showSale(); // "Vendita in corso", Esc
    void goToCash(); // "Vai alla cassa"
    void showCustomers();
    void showSuspended(); // "Riprendi"
    void showItems();

    // Commands enabled only while the sale has rows.
    bool hasRows() const { return !m_rows.isEmpty(); }
    bool canSuspendOrResume() const { return m_page != PosPage::Cassa; }

    // The "Vendita" page.
    bool addByBarcode(const QString& text);
    void editRow(int row, int quantity, int discountPercent, core::Money unitPrice);
    void removeRow(int row);
    void discountOnTotal(); // "Sconto su totale"
    bool advancedSearch();  // "Ricerca avanzata": the items with the chosen attribute

    // The "Cassa" page.
    void choosePayment(int choice);
    QString paymentType() const { return m_sale.paymentType(); }
    const QString& paymentLabel() const { return m_paymentLabel; }
    QString paymentIcon() const; // full path, empty when none
    void setReceived(core::Money amount);
    void pressBanknote(int banknote);
    void setFiscalCode(const QString& code) { m_fiscalCode = code; }
    const QString& fiscalCode() const { return m_fiscalCode; }

    // The cheque page.
    ChequeDetails& cheque() { return m_cheque; }
    const ChequeDetails& cheque() const { return m_cheque; }
    bool acquireChequeImage(); // "Acquisizione da scanner...": the image file
    const QString& chequeImage() const { return m_chequeImage; }

    // The pack page.
    const std::optional<PackItem>& packItem() const { return m_packItem; }
    PackUnload& pack() { return m_pack; }
    const PackUnload& pack() const { return m_pack; }

    // The closings; true when the sale was closed and a new one is open.
    bool close(ClosingKind kind);

    // Suspended sales.
    bool suspend();
    const QList<SuspendedSale>& suspendedSales() const { return m_suspended; }
    QList<SaleRow> suspendedRows(int saleId) const;
    bool resume(int saleId);

    // The "Clienti" page: the customer registry's search.
    registry::RegistrySearch& customers() { return m_customers; }
    void findCustomers(const QString& text);
    void allCustomers();
    void clearCustomers(); // "Azzera"
    bool chooseCustomer(int idCliente);
    const QString& customerName() const { return m_customerName; }
    void newCustomer();
    void editCustomer(int idCliente);
    void customerHistory(int idCliente); // "Storico"

    // The "Articoli" page.
    stock::Articoli& items() { return m_items; }
    void findItems(const QString& description, const QString& code);
    void clearItems();                           // "Pulisci"
    bool confirmItem(int itemId, bool andClose); // "Conferma", "Conferma e chiudi"
    int newItem();

    // The operator at the till.
    void logInOrOut();
    bool logIn();
    void logOut();
    // Every command of the window restarts the idle logout, when the settings ask for one.
    using IdlePause = QScopeGuard<std::function<void()>>;
    IdlePause pauseIdleLogout();
    void restartIdleTimer();
    const QTimer& idleTimer() const { return m_idle; }

    // "Chiudi": the open sale is discarded, its serials and cells back in stock.
    void closeWindow();

signals:
    // Rows, totals, payment, operator or page changed: the view renders everything again.
    void changed();
    // The scanner field takes the focus (after every command on the "Vendita" page).
    void scannerFocus();
    // The lists of the other pages: found customers, found items, suspended sales.
    void customersChanged();
    void itemsChanged();
    void suspendedChanged();

private:
    void afterRowsChanged();
    // What was typed or chosen for the sale that left the till: payment, cheque, pack, customer.
    void clearSaleInput();
    void readPackItem();
    ClosingInput closingInput() const;

    Context m_context;
    TillSettings m_settings;
    Sale m_sale;
    TillOperator m_operator;
    SaleClosing m_closing;
    registry::RegistrySearch m_customers;
    stock::Articoli m_items;
    QTimer m_idle;

    QList<SaleRow> m_rows;
    QList<SuspendedSale> m_suspended;
    PosPage m_page = PosPage::Vendita;
    PaymentPage m_paymentPage = PaymentPage::Home;
    QString m_paymentLabel;
    QString m_paymentIconFile;
    QString m_fiscalCode;
    ChequeDetails m_cheque;
    QString m_chequeImage;
    std::optional<PackItem> m_packItem;
    PackUnload m_pack;
    QString m_customerName;
};

} // namespace carvendo::pos
