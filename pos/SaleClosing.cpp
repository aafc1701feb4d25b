#include "pos/SaleClosing.h"

#include "pos/PaymentType.h"
#include "pos/PendingReceipts.h"
#include "pos/ReceiptPrinter.h"
#include "pos/ReceiptRecord.h"
#include "pos/Sale.h"
#include "pos/SaleCustomer.h"

#include "documents/SaleInvoice.h"

#include "registry/FiscalChecks.h"

#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/Error.h"
#include "core/Numbering.h"
#include "core/Session.h"
#include "core/StoredProcedures.h"

#include <QRegularExpression>

#include <utility>

namespace carvendo::pos {

namespace {

const QString OperatorRequiredMessage = QStringLiteral("Operatore richiesto");

[[noreturn]] void refuse(const QString& message)
{
    throw core::Error(message, core::Error::Kind::Refusal);
}

// A typed fiscal code is printed on the receipt only when it is a sound codice fiscale or
// partita IVA: the printer would print anything, and the customer's tax return needs it right.
QString checkedFiscalCode(const QString& typed)
{
    const QString code = typed.trimmed().toUpper();
    if (code.isEmpty())
        return {};
    static const QRegularExpression elevenDigits(QStringLiteral("^[0-9]{11}$"));
    const registry::CheckResult check = elevenDigits.match(code).hasMatch()
                                            ? registry::checkPartitaIva(code)
                                            : registry::checkCodiceFiscale(code);
    if (!check.valid)
        refuse(check.message);
    return code;
}

bool printsReceipt(ClosingKind kind)
{
    return kind == ClosingKind::FiscalReceipt || kind == ClosingKind::QuickReceipt;
}

} // namespace

SaleClosing::SaleClosing(core::Db& db, core::Dialogs& dialogs, const core::Session& session,
                         const core::Paths& paths, ReceiptPrinter& printer, TillSettings settings,
                         QString workstation)
    : m_db(db), m_dialogs(dialogs), m_session(session), m_paths(paths), m_printer(printer),
      m_settings(std::move(settings)), m_workstation(std::move(workstation))
{
}

ClosingOutcome SaleClosing::close(Sale& sale, ClosingKind kind, const QString& tillOperator,
                                  const ClosingInput& input)
{
    if (m_settings.operatorRules.required && tillOperator.isEmpty()) {
        m_dialogs.beep();
        m_dialogs.warning(OperatorRequiredMessage);
        return ClosingOutcome::of(ClosingResult::OperatorRequired);
    }
    try {
        return closeChecked(sale, kind, tillOperator, input);
    } catch (const core::Error& error) {
        if (error.kind() != core::Error::Kind::Refusal)
            throw;
        m_dialogs.beep();
        m_dialogs.warning(error.message());
        return ClosingOutcome::of(ClosingResult::Refused);
    }
}

QString SaleClosing::paymentOf(const Sale& sale, ClosingKind kind, const ClosingInput& input) const
{
    const QString payment = kind == ClosingKind::QuickReceipt ? PaymentType::Contanti : sale.paymentType();
    if (kind == ClosingKind::ConfirmUnload && payment != PaymentType::Contanti &&
        payment != PaymentType::VodafonePack)
        refuse(QStringLiteral("Puoi confermare solo per pagamento Contanti"));
    if (payment == PaymentType::VodafonePack && !input.pack)
        refuse(QStringLiteral("Scegliere come scaricare il Vodafone Pack nella pagina del pack"));
    if (payment == PaymentType::Assegno && printsReceipt(kind) && !input.cheque)
        refuse(QStringLiteral("Acquisire l'assegno con \"Acquisizione da scanner...\" prima di chiudere la "
                              "vendita"));
    return payment;
}

int SaleClosing::invoiceCustomer(const Sale& sale) const
{
    const int customerId = SaleCustomer(m_db).idOf(sale.id());
    if (customerId == 0)
        refuse(QStringLiteral("Selezionare un cliente"));
    if (!m_session.allows(core::Privilege::Fatturazione))
        refuse(QStringLiteral("Non possiedi i privilegi per eseguire questa operazione"));
    if (sale.rows().isEmpty())
        refuse(QStringLiteral("Attenzione! Inserire almeno un'articolo"));
    return customerId;
}

int SaleClosing::invoice(const Sale& sale, int customerId, const QString& payment)
{
    documents::SoldSale sold{customerId, payment, {}, Sale::serialDocument(), sale.id()};
    for (const SaleRow& row : sale.rows())
        sold.lines.append({row.key.itemId, row.quantity, row.discountPercent, row.publicPrice, row.bySerial,
                           row.bySize, row.size, row.colour, row.description});
    const int invoiceId = documents::SaleInvoice(m_db, m_dialogs, m_session).create(sold);
    passed(ClosingStep::StockUnloaded);
    passed(ClosingStep::LedgerWritten);
    return invoiceId;
}

ClosingOutcome SaleClosing::closeChecked(Sale& sale, ClosingKind kind, const QString& tillOperator,
                                         const ClosingInput& input)
{
    const QString payment = paymentOf(sale, kind, input);
    const bool withReceipt = printsReceipt(kind);
    const bool withInvoice = kind == ClosingKind::Invoice;
    const int customerId = withInvoice ? invoiceCustomer(sale) : 0;
    if (withReceipt && sale.totals().totaleConto <= core::Money())
        refuse(QStringLiteral("Impossibile stampare lo scontrino quando l'importo è uguale o inferiore a 0 "
                              "euro, per continuare premere il pulsante 'NUOVA VENDITA'"));
    if (!withReceipt && !withInvoice && sale.rows().isEmpty()) {
        // Nothing was sold: no number, nothing posted, a clean sale to start from.
        sale.discard();
        sale.open(tillOperator);
        return ClosingOutcome::of(ClosingResult::Closed);
    }
    // The receipt is built, and so checked, before anything is written.
    std::optional<Receipt> receipt;
    if (withReceipt)
        receipt =
            buildReceipt(ReceiptVariant::Keyboard, ReceiptRow::ofSale(m_db, sale.id()), payment,
                         kind == ClosingKind::FiscalReceipt ? checkedFiscalCode(input.fiscalCode) : QString(),
                         m_settings.cassaPassword);

    ClosingOutcome outcome = ClosingOutcome::of(ClosingResult::Closed);
    {
        core::Transaction transaction(m_db);
        const QDate today = m_db.scalar(QStringLiteral("SELECT CURRENT_DATE")).toDate();
        outcome.number = claim(sale, tillOperator, today);
        if (receipt)
            outcome.receiptId = ReceiptRecord::write(m_db, m_session, ReceiptVariant::Keyboard, sale.id(),
                                                     {payment, 0}, *receipt, m_workstation);
        passed(ClosingStep::ReceiptRecorded);
        if (withInvoice)
            outcome.invoiceId = invoice(sale, customerId, payment);
        else
            post(sale.id(), payment, today);
        if (payment == PaymentType::Assegno && input.cheque)
            SaleCheque(m_db, m_paths)
                .capture(sale.id(), m_session.warehouse().id, input.cheque->imageFile, input.cheque->details);
        if (payment == PaymentType::VodafonePack)
            input.pack->write(m_db, m_session, sale.id(), today);
        passed(ClosingStep::PaymentRecorded);
        transaction.commit();
    }
    passed(ClosingStep::Committed);

    if (receipt)
        outcome.handedOver = handOver(*outcome.receiptId, *receipt, outcome.number);
    sale.open(tillOperator);
    return outcome;
}

int SaleClosing::claim(const Sale& sale, const QString& tillOperator, const QDate& today)
{
    core::NumberReservation number(m_db, core::Series::Banco);
    const core::Money total = sale.totals().totaleConto;
    // Nothing typed in "Importo ricevuto": the customer paid the total exactly.
    const core::Money paid = sale.received().isZero() ? total : sale.received();
    const QString saleOperator =
        m_settings.operatorRules.required ? tillOperator : m_session.currentOperator().username;
    // Of two workstations (or two clicks) closing the same sale, the second finds it closed.
    if (m_db.exec(
            QStringLiteral("UPDATE banco SET NumDoc = :NUMERO, Anno = :ANNO, Mese = :MESE, Operatore = "
                           "LEFT(:OPERATORE, 50), idMagazzino = :IDMAGAZZINO, Magazzino = LEFT(:MAGAZZINO, "
                           "120), Pagato = :PAGATO, Resto = :RESTO WHERE id = :IDBANCO AND ") +
                Sale::openCondition(),
            {{QStringLiteral("NUMERO"), number.number()},
             {QStringLiteral("ANNO"), QString::number(today.year())},
             {QStringLiteral("MESE"), core::monthName(today.month())},
             {QStringLiteral("OPERATORE"), saleOperator},
             {QStringLiteral("IDMAGAZZINO"), m_session.warehouse().id},
             {QStringLiteral("MAGAZZINO"), m_session.warehouse().name},
             {QStringLiteral("PAGATO"), QVariant::fromValue(paid)},
             {QStringLiteral("RESTO"), QVariant::fromValue(paid - total)},
             {QStringLiteral("IDBANCO"), sale.id()}}) == 0)
        refuse(Sale::notOpenMessage());
    SaleRows(m_db, sale.id()).removeEmpty();
    passed(ClosingStep::Claimed);
    return number.number();
}

void SaleClosing::post(int saleId, const QString& payment, const QDate& today)
{
    // Serials and size/colour cells left stock when they were scanned; the items' stock goes now.
    core::StoredProcedures(m_db).scaricoVendita(saleId, m_session.warehouse().id);
    passed(ClosingStep::StockUnloaded);
    // One ledger row per sale row, at the price it was sold at (net of its discount).
    m_db.exec(
        QStringLiteral(
            "INSERT INTO venduti (idDoc, TipoDoc, idArticolo, Codice, Descrizione, quantita, PrezzoAcquisto, "
            "PrezzoPubblico, PrezzoVendita, Utile, ScontoPerc, idCliente, cliente, TipoPagamento, Anno, "
            "Mese, "
            "idMagazzino, Magazzino, Operatore, data, Ora, Taglia, Colore, Seriale, ConSeriale) "
            "SELECT d.idBanco, 'Pos', d.idarticolo, d.Codice, d.descrizione, d.quantita, "
            "ROUND(COALESCE(a.PrezzoAcquisto, 0) * d.quantita, 4), d.SubPubblico, d.SubTotale, "
            "ROUND(d.SubPubblico - COALESCE(a.PrezzoAcquisto, 0) * d.quantita, 4), d.Sconto, b.idCliente, "
            "b.Cliente, :TIPOPAGAMENTO, b.Anno, b.Mese, b.idMagazzino, LEFT(b.Magazzino, 50), b.Operatore, "
            ":DATA, NOW(), d.taglia, d.colore, d.Seriale, COALESCE(d.SN, 0) FROM dettbanco d JOIN banco b ON "
            "b.id = d.idBanco LEFT JOIN articoli a ON a.ID = d.idarticolo WHERE d.idBanco = :IDBANCO ORDER "
            "BY d.ID"),
        {{QStringLiteral("TIPOPAGAMENTO"), payment},
         {QStringLiteral("DATA"), today},
         {QStringLiteral("IDBANCO"), saleId}});
    passed(ClosingStep::LedgerWritten);
}

bool SaleClosing::handOver(int receiptId, const Receipt& receipt, int number)
{
    // The sale is posted whatever happens here: a receipt the printer did not get is kept and
    // offered again, and the operator is told now.
    QString why;
    try {
        PendingReceipts(m_db, m_workstation).handOver(receiptId, receipt, m_printer, m_probe);
        return true;
    } catch (const core::Error& error) {
        why = error.message();
    }
    m_dialogs.beep();
    m_dialogs.warning(
        QStringLiteral("La vendita %1 è registrata, ma lo scontrino non è arrivato alla stampante "
                       "fiscale: %2\nLo scontrino sarà proposto di nuovo alla prossima apertura "
                       "della cassa.")
            .arg(number)
            .arg(why));
    return false;
}

void SaleClosing::passed(ClosingStep step) const
{
    if (m_probe)
        m_probe(step);
}

} // namespace carvendo::pos
