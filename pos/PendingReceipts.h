#pragma once

#include "pos/ClosingStep.h"
#include "pos/ReceiptLines.h"

#include <QList>
#include <QString>

namespace carvendo::core {
class Db;
class Dialogs;
} // namespace carvendo::core

namespace carvendo::pos {

class ReceiptPrinter;

// A committed receipt the printer of this workstation may not have: the program stopped before it
// was handed over, or the driver's folder could not be written.
struct PendingReceipt
{
    int id = 0;                         // `scontrini`.`id`
    int number = 0;                     // the sale's number, as the operator knows it
    bool mayHaveReachedPrinter = false; // the hand-over had started: it may have been printed
    Receipt receipt;
};

// The hand-over state of the receipts a workstation issues (`scontrini`.`stato_invio`): each step
// is its own short transaction, after the sale's own commit, so a stop anywhere leaves a receipt
// either handed over or found again here.
class PendingReceipts
{
public:
    // workstation: this computer's name, kept on every receipt it issues.
    PendingReceipts(core::Db& db, QString workstation);

    static QString thisWorkstation();

    // Hands the receipt over and records it: started, then handed over. Throws ReceiptNotHandedOver
    // when the printer did not get it (the receipt stays pending).
    void handOver(int receiptId, const Receipt& receipt, ReceiptPrinter& printer,
                  const ClosingProbe& probe = {});

    QList<PendingReceipt> pending() const;

    // At the till's opening: every pending receipt is offered, "Lo scontrino N non è stato inviato
    // alla stampante fiscale. Inviarlo ora?"; one whose hand-over had started asks the operator to
    // look at the printer first, and a "No" there means it was printed. A failed send is told.
    void offer(core::Dialogs& dialogs, ReceiptPrinter& printer);

private:
    void setState(int receiptId, int state);

    core::Db& m_db;
    QString m_workstation;
};

} // namespace carvendo::pos
