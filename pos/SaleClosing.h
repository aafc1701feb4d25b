#pragma once

#include "pos/ClosingStep.h"
#include "pos/PackUnload.h"
#include "pos/SaleCheque.h"
#include "pos/TillSettings.h"

#include <QDate>
#include <QString>

#include <optional>

namespace carvendo::core {
class Db;
class Dialogs;
class Paths;
class Session;
} // namespace carvendo::core

namespace carvendo::pos {

class ReceiptPrinter;
class Sale;
struct Receipt;

// The closings of a counter sale.
enum class ClosingKind
{
    FiscalReceipt, // "Scontrino Fiscale": a talking receipt when a fiscal code was typed
    QuickReceipt,  // "Scontrino rapido": no payment type needed, cash
    NewSale,       // "Nuova": posted without receipt
    ConfirmUnload, // "Conferma Scarico": posted without receipt, cash or operator pack only
    Invoice        // "Fattura": the sale becomes an immediate invoice, which posts it; no receipt
};

// The cheque of a sale paid "Assegno": its image file and what was typed.
struct ChequeCapture
{
    QString imageFile;
    ChequeDetails details;
};

// What the "Cassa" page holds when the operator closes.
struct ClosingInput
{
    QString fiscalCode;                    // the fiscal code (or partita IVA) typed, if any
    std::optional<ChequeCapture> cheque{}; // required with payment "Assegno" on a receipt
    std::optional<PackUnload> pack{};      // required with payment "Vodafone Pack"
};

enum class ClosingResult
{
    Closed,          // posted; the next sale is open
    Refused,         // told to the operator; the sale is open as it was
    OperatorRequired // "Operatore richiesto" told: the till opens the operator login
};

struct ClosingOutcome
{
    ClosingResult result = ClosingResult::Refused;
    int number = 0;               // the sale's `NumDoc`
    std::optional<int> receiptId; // the `scontrini` row of a receipt
    std::optional<int> invoiceId; // the `fatture` row the sale became
    bool handedOver = false;      // false: the receipt waits to be sent again (the operator was told)

    static ClosingOutcome of(ClosingResult result)
    {
        ClosingOutcome outcome;
        outcome.result = result;
        return outcome;
    }
};

// Closes the till's open sale. Everything is checked first (operator, payment, departments,
// fiscal code, cheque image, an invoice's customer and privilege); then one transaction claims the
// sale (of two workstations or a double click only one gets it), numbers it under the numbering lock,
// and writes the receipt row with its lines, every row's stock, `venduti`, cheque and pack; or, for
// "Fattura", the invoice that takes the rows, their stock and `venduti` instead. Only after the commit is the
// receipt handed to the printer; a receipt the printer did not get stays posted and is offered again when the
// till next opens (PendingReceipts). The next sale opens after the commit.
class SaleClosing
{
public:
    SaleClosing(core::Db& db, core::Dialogs& dialogs, const core::Session& session, const core::Paths& paths,
                ReceiptPrinter& printer, TillSettings settings, QString workstation);

    // tillOperator: the operator logged in at the till, empty when nobody is.
    ClosingOutcome close(Sale& sale, ClosingKind kind, const QString& tillOperator,
                         const ClosingInput& input = {});

    void setProbe(ClosingProbe probe) { m_probe = std::move(probe); }

private:
    ClosingOutcome closeChecked(Sale& sale, ClosingKind kind, const QString& tillOperator,
                                const ClosingInput& input);
    // The payment type the closing records; refuses one this closing cannot take.
    QString paymentOf(const Sale& sale, ClosingKind kind, const ClosingInput& input) const;
    // The customer an invoice is made out to; refuses a sale without one, an operator without the
    // invoicing privilege, a sale without rows.
    int invoiceCustomer(const Sale& sale) const;
    // Within the closing's transaction: the sale's rows become the invoice's, which moves the stock.
    int invoice(const Sale& sale, int customerId, const QString& payment);
    // Within the closing's transaction: the sale becomes this closing's, numbered; returns the number.
    int claim(const Sale& sale, const QString& tillOperator, const QDate& today);
    // Within the closing's transaction: every row's stock and its `venduti` row.
    void post(int saleId, const QString& payment, const QDate& today);
    bool handOver(int receiptId, const Receipt& receipt, int number);
    void passed(ClosingStep step) const;

    core::Db& m_db;
    core::Dialogs& m_dialogs;
    const core::Session& m_session;
    const core::Paths& m_paths;
    ReceiptPrinter& m_printer;
    TillSettings m_settings;
    QString m_workstation;
    ClosingProbe m_probe;
};

} // namespace carvendo::pos
