#include "pos/PendingReceipts.h"

#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/Error.h"
#include "pos/ReceiptPrinter.h"

#include <QSysInfo>

#include <utility>

namespace carvendo::pos {

namespace {

// `scontrini`.`stato_invio`
constexpr int ToSend = 0;
constexpr int Sending = 1;
constexpr int HandedOver = 2;

} // namespace

PendingReceipts::PendingReceipts(core::Db& db, QString workstation)
    : m_db(db), m_workstation(std::move(workstation))
{
}

QString PendingReceipts::thisWorkstation()
{
    return QSysInfo::machineHostName().left(100);
}

// One statement, committed on its own: the mark must be on the server before the printer moves.
void PendingReceipts::setState(int receiptId, int state)
{
    m_db.exec(QStringLiteral("UPDATE scontrini SET stato_invio = :STATO WHERE id = :ID"),
              {{QStringLiteral("STATO"), state}, {QStringLiteral("ID"), receiptId}});
}

void PendingReceipts::handOver(int receiptId, const Receipt& receipt, ReceiptPrinter& printer,
                               const ClosingProbe& probe)
{
    // Marked first: if the program stops while the printer is being given the receipt, the next
    // opening knows it may have been printed.
    setState(receiptId, Sending);
    if (probe)
        probe(ClosingStep::HandOverStarted);
    try {
        printer.handOver(receipt);
    } catch (const ReceiptNotHandedOver&) {
        // The printer is known not to have it (the start file never reached it).
        setState(receiptId, ToSend);
        throw;
    }
    setState(receiptId, HandedOver);
    if (probe)
        probe(ClosingStep::HandedOver);
}

QList<PendingReceipt> PendingReceipts::pending() const
{
    QList<PendingReceipt> receipts;
    const core::Rows rows = m_db.query(
        QStringLiteral("SELECT id, NumDoc, stato_invio, righe_stampa, riga_avvio FROM scontrini WHERE "
                       "postazione = :POSTAZIONE AND stato_invio < :CONSEGNATO AND righe_stampa IS NOT NULL "
                       "ORDER BY id"),
        {{QStringLiteral("POSTAZIONE"), m_workstation}, {QStringLiteral("CONSEGNATO"), HandedOver}});
    for (const core::Row& row : rows) {
        PendingReceipt receipt;
        receipt.id = row["id"].toInt();
        receipt.number = row["NumDoc"].toInt();
        receipt.mayHaveReachedPrinter = row["stato_invio"].toInt() == Sending;
        receipt.receipt.dataLines = row["righe_stampa"].toString().split(QLatin1Char('\n'));
        receipt.receipt.startLine = row["riga_avvio"].toString();
        receipts.append(receipt);
    }
    return receipts;
}

void PendingReceipts::offer(core::Dialogs& dialogs, ReceiptPrinter& printer)
{
    for (const PendingReceipt& pending : pending()) {
        if (pending.mayHaveReachedPrinter) {
            // Whether the printer got it cannot be known here: only the operator can look.
            dialogs.beep();
            if (!dialogs.confirm(
                    QStringLiteral(
                        "Lo scontrino %1 potrebbe essere già stato stampato: controllare la "
                        "stampante fiscale.\nInviarlo di nuovo? Rispondere No se è stato stampato.")
                        .arg(pending.number))) {
                setState(pending.id, HandedOver);
                continue;
            }
        } else if (!dialogs.confirm(QStringLiteral("Lo scontrino %1 non è stato inviato alla stampante "
                                                   "fiscale. Inviarlo ora?")
                                        .arg(pending.number))) {
            continue;
        }
        try {
            handOver(pending.id, pending.receipt, printer);
        } catch (const ReceiptNotHandedOver& error) {
            dialogs.warning(error.message());
        }
    }
}

} // namespace carvendo::pos
