#include "documents/SaleInvoice.h"

#include "documents/DocumentKind.h"
#include "documents/RowSizes.h"
#include "documents/SalesDocument.h"

#include "documents/InvoiceCashBook.h"
#include "documents/InvoiceFields.h"

#include "stock/sizes/ScaricoTC.h"

#include "core/Db.h"
#include "core/Error.h"
#include "core/Session.h"

namespace carvendo::documents {

namespace {

const DocumentKind& invoice()
{
    return DocumentKind::of(DocumentKindId::FatturaImmediata);
}

} // namespace

QStringList SaleInvoice::serialsOf(const SoldSale& sale, int itemId) const
{
    // The sale is claimed by the closing: its links are read without locking, which would also lock the
    // index gap where other tills' links go.
    QStringList serials;
    for (const core::Row& r :
         m_db.query(QStringLiteral("SELECT Seriale FROM serialidocumenti WHERE Documento = :DOCUMENTO AND "
                                   "idDocumento = :IDDOCUMENTO AND idArticolo = :IDARTICOLO ORDER BY id"),
                    {{QStringLiteral("DOCUMENTO"), sale.serialDocument},
                     {QStringLiteral("IDDOCUMENTO"), sale.serialDocumentId},
                     {QStringLiteral("IDARTICOLO"), itemId}}))
        serials << r["Seriale"].toString();
    return serials;
}

void SaleInvoice::moveSerials(const SoldSale& sale, int invoiceId)
{
    // The serials left stock when the sale took them: only their links change hands.
    m_db.exec(
        QStringLiteral("UPDATE serialidocumenti SET Documento = :FATTURA, idDocumento = :IDFATTURA WHERE "
                       "Documento = :DOCUMENTO AND idDocumento = :IDDOCUMENTO"),
        {{QStringLiteral("FATTURA"), QLatin1String(invoice().serialDocument)},
         {QStringLiteral("IDFATTURA"), invoiceId},
         {QStringLiteral("DOCUMENTO"), sale.serialDocument},
         {QStringLiteral("IDDOCUMENTO"), sale.serialDocumentId}});
}

int SaleInvoice::create(const SoldSale& sale)
{
    core::Transaction transaction(m_db);
    SalesDocument document(invoice(), m_db, m_dialogs, m_session);
    document.openNew();
    // The till already took the sale's amount: a stamp duty is the shop's, the invoice asks no more.
    document.bearStampDuty();
    const int invoiceId = document.header().id;
    document.setCustomer(sale.customerId);
    // Goods leave with the invoice, paid at the counter as the sale was.
    InvoiceFieldStore fields(m_db);
    const InvoiceFields opened = fields.read(invoiceId);
    InvoiceFields counter = opened;
    counter.tipoPagamento = sale.payment;
    counter.dataTrasporto = opened.data;
    counter.dataScadenza = opened.data.toString(QStringLiteral("dd/MM/yyyy"));
    // The server's clock, as for the sale: workstations' clocks differ.
    counter.oraText = m_db.scalar(QStringLiteral("SELECT DATE_FORMAT(NOW(), '%H:%i')")).toString();
    fields.write(invoiceId, opened, counter);
    for (const SoldLine& line : sale.lines) {
        // A serialised item the till sold by its barcode has no serial: those pieces are a plain row.
        const QStringList serials = line.bySerial ? serialsOf(sale, line.itemId) : QStringList();
        for (const QString& serial : serials)
            document.addSoldRow(line.itemId, serial, 1, line.discountPercent, line.grossPrice, false);
        if (line.quantity > serials.size())
            document.addSoldRow(line.itemId, {}, line.quantity - serials.size(), line.discountPercent,
                                line.grossPrice, line.bySize);
        if (line.bySize)
            RowSizes(m_db, document.sizeDocument().kind)
                .record(invoiceId, line.itemId, line.colour, line.size, line.quantity, line.description);
    }
    moveSerials(sale, invoiceId);
    if (!document.save())
        throw core::Error(QStringLiteral("La fattura non è stata creata."), core::Error::Kind::Refusal);

    // The counter took the money.
    InvoiceCashBook(m_db, QLatin1String(invoice().cashBookDocument))
        .write(invoiceId, InvoiceCashBook::Settlement::AtTheCounter);
    transaction.commit();
    return invoiceId;
}

} // namespace carvendo::documents
