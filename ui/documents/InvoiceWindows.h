#pragma once

#include "core/Navigator.h"
#include "documents/FatturaImmediata.h"
#include "documents/ManualLineEntry.h"
#include "documents/QuantityEntry.h"
#include "ui/common/Window.h"
#include "ui/common/WindowEnvironment.h"

#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QFormLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableView;
class QTableWidget;

namespace carvendo::ui {

class RowsTableModel;
class WindowRegistry;

// The immediate invoice and its dialogs: TFatturaImmediata, TDialogoScaricoFattDdt (quantity and
// price of one item), Tinsmanuale (a manual line), TRitenutaAccontoLista (the withholding types).
void registerInvoiceWindows(WindowRegistry& registry);

// The quantity dialog of a sales document: the item's three list prices, quantity, discount and price
// (VAT included); for a serialised item the serials available, with a search.
class TDialogoScaricoFattDdt : public Window
{
    Q_OBJECT
public:
    TDialogoScaricoFattDdt(core::Dialogs& dialogs, documents::QuantityEntry& entry,
                           QWidget* parent = nullptr);

    const std::optional<documents::QuantityEntryValues>& values() const { return m_values; }
    QLineEdit* quantity() const { return m_quantity; }
    QLineEdit* price() const { return m_price; }
    void confirm();

private:
    core::Dialogs& m_dialogs;
    documents::QuantityEntry& m_entry;
    QLineEdit* m_quantity = nullptr;
    QLineEdit* m_price = nullptr;
    QLineEdit* m_discount = nullptr;
    QListWidget* m_serials = nullptr;
    std::optional<documents::QuantityEntryValues> m_values;
};

// "Voce manuale": a line without an item.
class Tinsmanuale : public Window
{
    Q_OBJECT
public:
    // zeroRates: the VAT codes at 0% a line at 0% chooses from.
    Tinsmanuale(core::Dialogs& dialogs, const QList<documents::ZeroRateCode>& zeroRates,
                QWidget* parent = nullptr);

    const std::optional<documents::ManualLine>& line() const { return m_line; }
    void fill(const documents::ManualLineTexts& texts);
    void confirm();

private:
    core::Dialogs& m_dialogs;
    QLineEdit* m_code = nullptr;
    QLineEdit* m_description = nullptr;
    QComboBox* m_unit = nullptr;
    QSpinBox* m_rate = nullptr;
    QComboBox* m_vatCode = nullptr; // enabled at 0%
    QLineEdit* m_quantity = nullptr;
    QLineEdit* m_price = nullptr;
    QCheckBox* m_withVat = nullptr;
    std::optional<documents::ManualLine> m_line;
};

// The withholding types to choose one from.
class TRitenutaAccontoLista : public Window
{
    Q_OBJECT
public:
    TRitenutaAccontoLista(WindowEnvironment& environment, const core::NavigationRequest& request,
                          QWidget* parent = nullptr);

    core::NavigationResult navigationResult() const override { return m_result; }
    QTableView* grid() const { return m_grid; }
    void choose();

private:
    QTableView* m_grid = nullptr;
    RowsTableModel* m_model = nullptr;
    core::NavigationResult m_result;
};

// The immediate invoice: customer, rows by barcode/serial, picker, new item, manual line or service,
// totals with discount and withholding, destination, payment and instalments, shipping, notes;
// save, print, PDF, e-mail.
class TFatturaImmediata : public Window
{
    Q_OBJECT
public:
    TFatturaImmediata(WindowEnvironment& environment, const core::NavigationRequest& request,
                      QWidget* parent = nullptr);

    documents::FatturaImmediata& logic() { return m_logic; }
    QLineEdit* barcode() const { return m_barcode; }
    QLineEdit* customer() const { return m_customer; }
    QTableWidget* grid() const { return m_grid; }
    QTabWidget* pages() const { return m_pages; }
    QPushButton* exitButton() const { return m_exit; }
    // The quantity dialog for an entry, shown modally (tests and screenshots fill it first).
    void openEntry(std::unique_ptr<documents::QuantityEntry> entry);
    void reject() override;

private:
    QWidget* rowsPage();
    QWidget* destinationPage();
    QWidget* paymentPage();
    QWidget* shippingPage();
    QWidget* notesPage();
    QWidget* totalsBox();
    void showState();
    void showRows();
    void pushFields();
    void guarded(const std::function<void()>& command);
    void rowEdited(int row);

    WindowEnvironment& m_environment;
    core::Dialogs& m_dialogs;
    documents::FatturaImmediata m_logic;
    bool m_filling = false;
    bool m_closing = false;
    QLabel* m_title = nullptr;
    QLineEdit* m_customer = nullptr;
    QDateEdit* m_date = nullptr;
    QComboBox* m_suffix = nullptr;
    QComboBox* m_reason = nullptr;
    QTabWidget* m_pages = nullptr;
    QLineEdit* m_barcode = nullptr;
    QTableWidget* m_grid = nullptr;
    QLineEdit* m_destName = nullptr;
    QLineEdit* m_destAddress = nullptr;
    QLineEdit* m_destCap = nullptr;
    QLineEdit* m_destCity = nullptr;
    QLineEdit* m_destProvince = nullptr;
    QComboBox* m_payment = nullptr;
    QComboBox* m_bank = nullptr;
    QTableWidget* m_instalments = nullptr;
    QComboBox* m_aspect = nullptr;
    QSpinBox* m_parcels = nullptr;
    QLineEdit* m_weight = nullptr;
    QComboBox* m_shipment = nullptr;
    QComboBox* m_carrier = nullptr;
    QDateEdit* m_transportDate = nullptr;
    QLineEdit* m_transportTime = nullptr;
    QLineEdit* m_shippingCost = nullptr;
    QComboBox* m_port = nullptr;
    QPlainTextEdit* m_notes = nullptr;
    QLabel* m_imponibile = nullptr;
    QLabel* m_iva = nullptr;
    QLabel* m_stampDuty = nullptr; // shown only when the customer is charged a stamp duty
    QFormLayout* m_totalsForm = nullptr;
    QLabel* m_total = nullptr;
    QLabel* m_discount = nullptr;
    QLabel* m_withholding = nullptr;
    QLabel* m_toPay = nullptr;
    QPushButton* m_exit = nullptr;
};

} // namespace carvendo::ui
