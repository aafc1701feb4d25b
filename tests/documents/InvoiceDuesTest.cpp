#include "tests/documents/SalesDocumentFixture.h"

#include "accounts/DocumentInstalments.h"
#include "documents/DocumentPdf.h"
#include "documents/DocumentPrint.h"
#include "documents/InvoiceCashBook.h"
#include "documents/InvoicePrint.h"
#include "einvoice/InvoiceData.h"
#include "einvoice/InvoiceFigures.h"

#include "core/CompanyDirectory.h"
#include "core/Paths.h"
#include "tests/support/RecordingReportOutput.h"
#include "tests/support/TestFiles.h"

#include <QTemporaryDir>

namespace ct = carvendo::testing;
namespace core = carvendo::core;
namespace documents = carvendo::documents;
namespace accounts = carvendo::accounts;
namespace einvoice = carvendo::einvoice;
using ct::euros;

namespace {

// What the customer of an invoice is asked to pay, wherever it is read: the stored totals, the
// instalments, the cash book, the print and the electronic file.
class InvoiceDuesTest : public ct::SalesDocumentFixture<InvoiceDuesTest>
{
protected:
    void SetUp() override
    {
        SalesDocumentFixture::SetUp();
        db().exec(QStringLiteral("UPDATE iva SET Natura = 'N4' WHERE Iva = 0"));
        db().exec(QStringLiteral("UPDATE fatturapa_configurazione SET BolloImporto = 2, BolloSoglia = 77.47, "
                                 "BolloACaricoCliente = 0"));
    }

    void chargeStampDutyToCustomer()
    {
        db().exec(QStringLiteral("UPDATE fatturapa_configurazione SET BolloACaricoCliente = 1"));
    }

    // A saved invoice of one exempt row worth net.
    documents::SalesDocument exemptInvoice(const char* net)
    {
        auto invoice = newInvoice(db(), addCustomer());
        documents::ManualLine line;
        line.code = QStringLiteral("RIP");
        line.description = QStringLiteral("Riparazione in garanzia");
        line.unit = QStringLiteral("PZ");
        line.aliquota = 0;
        line.price = euros(net);
        invoice.addManualLine(line);
        EXPECT_TRUE(invoice.save());
        return invoice;
    }

    core::ReportRequest printOf(int invoiceId)
    {
        return documents::DocumentPrint(
                   db(), documents::DocumentKind::of(documents::DocumentKindId::FatturaImmediata))
            .request(invoiceId, QStringLiteral("Fattura"));
    }

    einvoice::InvoiceData fileDataOf(int invoiceId)
    {
        return einvoice::InvoiceReader(db(), m_company).read(invoiceId);
    }

    core::CompanyRecord m_company;
};

// Charged to the customer, the duty is in the stored total, in what the instalments and the cash
// book ask, on every printed variant and in the file's total: the customer is asked one amount.
TEST_F(InvoiceDuesTest, AStampDutyChargedToTheCustomerIsInEveryTotalTheCustomerIsAsked)
{
    chargeStampDutyToCustomer();
    auto invoice = exemptInvoice("100");
    const int id = invoice.header().id;
    EXPECT_EQ(headerMoney(id, "imponibile"), euros("100"));
    EXPECT_EQ(headerMoney(id, "totaledocumento"), euros("102"));
    EXPECT_EQ(headerMoney(id, "totale_dapagare"), euros("102"));

    db().exec(
        QStringLiteral("UPDATE fatture SET tipopagamento = 'RI.BA. 30/60/90 GG F.M.' WHERE idFattura = :ID"),
        {{QStringLiteral("ID"), id}});
    const documents::DocumentTotals& totals = invoice.totals();
    const QList<accounts::Instalment> rate =
        accounts::DocumentInstalments(db(), accounts::InstalmentTable::fatture())
            .assign(id, QStringLiteral("RI.BA. 30/60/90 GG F.M."),
                    {invoice.header().date, totals.imponibile, totals.ivatotale, totals.totaledocumento});
    core::Money instalments;
    for (const accounts::Instalment& instalment : rate)
        instalments += instalment.importo;
    EXPECT_EQ(instalments, euros("102"));
    core::Money cashBook;
    const QList<accounts::CashBookEntry> lines =
        documents::InvoiceCashBook(db(), QStringLiteral("Fattura")).entries(id);
    ASSERT_EQ(lines.size(), 3);
    for (const accounts::CashBookEntry& line : lines)
        cashBook += line.entrate;
    EXPECT_EQ(cashBook, euros("102"));

    const core::ReportRequest print = printOf(id);
    EXPECT_EQ(print.values.value(QStringLiteral("bollo")).toString(), QStringLiteral("2,00"));
    EXPECT_EQ(print.values.value(QStringLiteral("totaledocumento")).toString(), QStringLiteral("102,00"));
    EXPECT_EQ(einvoice::InvoiceFigures::of(fileDataOf(id)).total, euros("102"));

    QTemporaryDir folder;
    const core::Paths paths(folder.path(), folder.path());
    ct::RecordingReportOutput reports;
    for (const auto variant : {documents::InvoicePrint::Plain, documents::InvoicePrint::WithSerials,
                               documents::InvoicePrint::WithSizes}) {
        const QString text = ct::pdfText(documents::DocumentPdf(db(), paths, reports)
                                             .write(invoice, documents::invoiceTemplate(variant)))
                                 .simplified();
        EXPECT_TRUE(text.contains(QStringLiteral("Imposta di bollo assolta in modo virtuale € 2,00")))
            << qPrintable(text);
        EXPECT_TRUE(text.contains(QStringLiteral("Totale documento € 102,00")));
    }
}

// Not charged to the customer, the duty is only stated: the totals are the goods'.
TEST_F(InvoiceDuesTest, AStampDutyNotChargedIsShownButLeavesTheTotalsAlone)
{
    const int id = exemptInvoice("100").header().id;
    EXPECT_EQ(headerMoney(id, "totaledocumento"), euros("100"));
    const core::ReportRequest print = printOf(id);
    EXPECT_EQ(print.values.value(QStringLiteral("bollo")).toString(), QStringLiteral("2,00"));
    EXPECT_EQ(print.values.value(QStringLiteral("totaledocumento")).toString(), QStringLiteral("100,00"));
}

// Exempt amounts up to the threshold pay nothing, even charged to the customer.
TEST_F(InvoiceDuesTest, ExemptAmountsUpToTheThresholdPayNoStampDuty)
{
    chargeStampDutyToCustomer();
    const int id = exemptInvoice("77.47").header().id;
    EXPECT_EQ(headerMoney(id, "totaledocumento"), euros("77.47"));
    EXPECT_FALSE(printOf(id).values.contains(QStringLiteral("bollo")));
}

// The invoice keeps the stamp duty it was saved with: the shop changing the settings leaves its print
// and its file asking the stored total; saving it again takes the new amount, and the customer still
// pays it, as when the invoice was made.
TEST_F(InvoiceDuesTest, AnInvoiceKeepsWhetherItsCustomerPaysTheStampDutyWhenTheSettingsChange)
{
    chargeStampDutyToCustomer();
    auto invoice = exemptInvoice("100");
    const int id = invoice.header().id;
    db().exec(
        QStringLiteral("UPDATE fatturapa_configurazione SET BolloACaricoCliente = 0, BolloImporto = 3"));

    const auto asked = [&](const char* total, const char* stampDuty) {
        EXPECT_EQ(headerMoney(id, "totaledocumento"), euros(total));
        const core::ReportRequest print = printOf(id);
        EXPECT_EQ(print.values.value(QStringLiteral("totaledocumento")).toString(), euros(total).toItalian());
        EXPECT_EQ(print.values.value(QStringLiteral("bollo")).toString(), euros(stampDuty).toItalian());
        EXPECT_EQ(einvoice::InvoiceFigures::of(fileDataOf(id)).total, euros(total));
        documents::SalesDocument reopened(invoice.kind(), db(), m_dialogs, m_session);
        reopened.load(id);
        EXPECT_EQ(reopened.totals().totaledocumento, euros(total));
    };
    {
        SCOPED_TRACE("settings changed after the save");
        asked("102", "2");
    }
    ASSERT_TRUE(invoice.save());
    {
        SCOPED_TRACE("saved again: the new amount, still paid by the customer");
        asked("103", "3");
    }
}

// Instalments whose payment names no mode, or a mode without its code, would leave the file's
// payment without its mode: refused while reading the invoice, naming it.
TEST_F(InvoiceDuesTest, InstalmentsWithoutAPaymentModeCodeAreRefusedByName)
{
    const auto invoice = exemptInvoice("50");
    const int id = invoice.header().id;
    const QString refusal = QStringLiteral("Fattura %1/%2: manca la modalità di pagamento (codice MP)")
                                .arg(invoice.header().number)
                                .arg(invoice.header().year);
    db().exec(QStringLiteral("UPDATE fatture SET tipopagamento = '', NRATE = 1, PRATA1 = 50, "
                             "DRATA1 = '2027-01-31' WHERE idFattura = :ID"),
              {{QStringLiteral("ID"), id}});
    EXPECT_EQ(ct::errorOf([&] { fileDataOf(id); }), refusal);

    insert("modalita_pagamenti", {{QStringLiteral("descrizione"), QStringLiteral("Satispay")},
                                  {QStringLiteral("CodiceMP"), QString()}});
    insert("pagamenti", {{QStringLiteral("Descrizione"), QStringLiteral("SATISPAY")},
                         {QStringLiteral("modalita"), QStringLiteral("Satispay")}});
    db().exec(QStringLiteral("UPDATE fatture SET tipopagamento = 'SATISPAY' WHERE idFattura = :ID"),
              {{QStringLiteral("ID"), id}});
    EXPECT_EQ(ct::errorOf([&] { fileDataOf(id); }), refusal);
}

} // namespace
