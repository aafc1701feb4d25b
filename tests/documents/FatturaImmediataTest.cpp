#include "tests/documents/SalesDocumentFixture.h"

#include "documents/FatturaImmediata.h"
#include "documents/RepairHandOver.h"

#include "stock/sizes/ScaricoTC.h"

#include "core/Error.h"
#include "core/Numbering.h"
#include "core/Paths.h"
#include "tests/support/FailingWrite.h"
#include "tests/support/RecordingReportOutput.h"
#include "tests/support/Workstation.h"

#include <QFile>
#include <QTemporaryDir>

namespace ct = carvendo::testing;
namespace documents = carvendo::documents;
namespace core = carvendo::core;
using carvendo::core::Money;
using ct::euros;

namespace {

class FatturaImmediataTest : public ct::SalesDocumentFixture<FatturaImmediataTest>
{
protected:
    void SetUp() override
    {
        SalesDocumentFixture::SetUp();
        emptyTables({"pagamenti", "rate", "riparazioni", "statistorico", "sospesi"});
        insert("pagamenti", {{QStringLiteral("Descrizione"), QStringLiteral("Contanti")},
                             {QStringLiteral("modalita"), QStringLiteral("Contanti")},
                             {QStringLiteral("NrRate"), 1}});
        const int term =
            insert("pagamenti", {{QStringLiteral("Descrizione"), QStringLiteral("Bonifico 30/60/90")},
                                 {QStringLiteral("modalita"), QStringLiteral("Bonifico")},
                                 {QStringLiteral("NrRate"), 3},
                                 {QStringLiteral("TipoRate"), QStringLiteral("Normale")},
                                 {QStringLiteral("TipoDecorrenza"), QStringLiteral("Data Fattura")}});
        for (int days : {30, 60, 90})
            insert("rate", {{QStringLiteral("idpagamento"), term}, {QStringLiteral("GGScadenza"), days}});
        m_item = addItem(QStringLiteral("A"), 22, "12.20");
        m_customer = addCustomer();
    }

    // A new invoice for a customer chosen in the picker, with three pieces of the item.
    std::unique_ptr<documents::FatturaImmediata> invoiceWithRow(core::Db& connection, const QString& payment,
                                                                const core::NavigationRequest& opening = {},
                                                                core::ReportOutput* reports = nullptr)
    {
        auto invoice = std::make_unique<documents::FatturaImmediata>(
            connection, m_session, m_paths, m_dialogs, m_navigator, reports ? *reports : m_reports);
        EXPECT_TRUE(invoice->open(opening));
        m_navigator.returnFrom(QStringLiteral("TClientiPreleva"), {true, m_customer, {}});
        EXPECT_TRUE(invoice->chooseCustomer());
        auto entry = invoice->entryFor(m_item);
        const auto values = entry->confirm(QStringLiteral("3"), QStringLiteral("12,20"), {}, {});
        EXPECT_TRUE(values && invoice->confirmEntry(*entry, *values));
        documents::InvoiceFields fields = invoice->fields();
        fields.tipoPagamento = payment;
        invoice->setFields(fields);
        return invoice;
    }

    core::Rows cashBook(int id)
    {
        return db().query(
            QStringLiteral("SELECT id, descrizione, entrate, saldato, data FROM prima_nota WHERE "
                           "iddoc = :ID AND tipodoc = 'Fattura Immediata' ORDER BY id"),
            {{QStringLiteral("ID"), id}});
    }

    int m_customer = 0;
    int m_item = 0;
    QTemporaryDir m_dir;
    core::Paths m_paths{m_dir.path(), m_dir.path()};
    ct::RecordingReportOutput m_reports;
};

// "Salva" writes the typed header fields, the number and the cash book in one transaction: a server
// error in the cash book leaves the invoice unnumbered and its fields as they were.
TEST_F(FatturaImmediataTest, SaveWritesFieldsNumberAndCashBookTogether)
{
    auto invoice = invoiceWithRow(db(), QStringLiteral("Contanti"));
    const int id = invoice->document().header().id;
    documents::InvoiceFields fields = invoice->fields();
    fields.data = QDate(2026, 1, 15);
    fields.causale = QStringLiteral("Conto visione");
    fields.vettore = QStringLiteral("Corriere Rapido");
    fields.colli = 3;
    invoice->setFields(fields);
    {
        ct::FailingWrite failing(db(), ct::FailingWrite::On::Insert, QStringLiteral("prima_nota"));
        EXPECT_THROW(invoice->save(), core::Error);
    }
    const auto header = [&] {
        return db().query(QStringLiteral("SELECT NumDoc, Causale, Vettore, Colli, Mese, data FROM fatture "
                                         "WHERE idFattura = :ID"),
                          {{QStringLiteral("ID"), id}});
    };
    EXPECT_EQ(header().value(0, "NumDoc").toInt(), 0);
    EXPECT_EQ(header().value(0, "Causale").toString(), QStringLiteral("Vendita"));
    EXPECT_EQ(header().value(0, "Colli").toInt(), 1);
    EXPECT_FALSE(invoice->document().isNumbered());
    EXPECT_EQ(cashBook(id).size(), 0);

    ASSERT_TRUE(invoice->save());
    EXPECT_EQ(header().value(0, "NumDoc").toInt(), 1);
    EXPECT_EQ(header().value(0, "Causale").toString(), QStringLiteral("Conto visione"));
    EXPECT_EQ(header().value(0, "Vettore").toString(), QStringLiteral("Corriere Rapido"));
    EXPECT_EQ(header().value(0, "Colli").toInt(), 3);
    EXPECT_EQ(header().value(0, "Mese").toString(), QStringLiteral("Gennaio"));
    // Paid in cash: one settled line for the whole; saved again, still one.
    ASSERT_TRUE(invoice->save());
    const core::Rows lines = cashBook(id);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines.value(0, "saldato").toBool());
    EXPECT_EQ(lines.value(0, "entrate").toMoney(), euros("36.60"));
    EXPECT_EQ(lines.value(0, "descrizione").toString(),
              QStringLiteral("Fattura vendita nr. 1 del 15/01/2026"));
}

// Three instalments give three open lines, the last one "- Saldo"; the one the customer already paid
// stays paid when the invoice is saved again.
TEST_F(FatturaImmediataTest, APaidInstalmentSurvivesASecondSave)
{
    auto invoice = invoiceWithRow(db(), QStringLiteral("Bonifico 30/60/90"));
    const int id = invoice->document().header().id;
    ASSERT_TRUE(invoice->assignInstalments());
    ASSERT_TRUE(invoice->save());
    core::Rows lines = cashBook(id);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines.value(2, "descrizione").toString().endsWith(QStringLiteral(" (3 di 3) - Saldo")));
    EXPECT_EQ(lines.value(0, "entrate").toMoney() + lines.value(1, "entrate").toMoney() +
                  lines.value(2, "entrate").toMoney(),
              euros("36.60"));
    const int paid = lines.value(0, "id").toInt();
    db().exec(QStringLiteral("UPDATE prima_nota SET saldato = TRUE WHERE id = :ID"),
              {{QStringLiteral("ID"), paid}});

    ASSERT_TRUE(invoice->save());
    lines = cashBook(id);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines.value(0, "id").toInt(), paid);
    EXPECT_TRUE(lines.value(0, "saldato").toBool());
    EXPECT_FALSE(lines.value(1, "saldato").toBool());
    EXPECT_TRUE(lines.value(1, "descrizione").toString().endsWith(QStringLiteral(" (2 di 3)")));
}

// Saved from a repair ticket: the ticket records the invoice and is delivered, with a history row, and
// its courtesy device is remembered; a second invoice for the same ticket is refused whole.
TEST_F(FatturaImmediataTest, ARepairTicketIsHandedOverWithItsInvoiceOnlyOnce)
{
    const int ticket =
        insert("riparazioni", {{QStringLiteral("numero"), 12}, {QStringLiteral("Muletto"), true}});
    const core::NavigationRequest fromTicket{documents::FatturaImmediata::windowName(),
                                             {},
                                             documents::FatturaImmediata::repairCaller(),
                                             {{QStringLiteral("idScheda"), ticket}}};
    auto invoice = invoiceWithRow(db(), QStringLiteral("Contanti"), fromTicket);
    ASSERT_TRUE(invoice->save());
    const core::Rows row = db().query(
        QStringLiteral("SELECT doccreato, tipodoc, numdoccreato, iddoccreato, StatoAssistenza, consegnadata, "
                       "ConsegnaOperatore FROM riparazioni WHERE Id_Scheda = :ID"),
        {{QStringLiteral("ID"), ticket}});
    EXPECT_TRUE(row.value(0, "doccreato").toBool());
    EXPECT_EQ(row.value(0, "tipodoc").toString(), QStringLiteral("Fattura"));
    EXPECT_EQ(row.value(0, "numdoccreato").toInt(), 1);
    EXPECT_EQ(row.value(0, "iddoccreato").toInt(), invoice->document().header().id);
    EXPECT_EQ(row.value(0, "StatoAssistenza").toString(), QStringLiteral("CONSEGNATO"));
    EXPECT_TRUE(row.value(0, "consegnadata").toDate().isValid());
    EXPECT_EQ(row.value(0, "ConsegnaOperatore").toString(), m_session.currentOperator().nome);
    EXPECT_EQ(m_dialogs.lastText(), documents::RepairHandOver::courtesyDeviceMessage());
    ASSERT_TRUE(invoice->save()) << "saving again hands nothing over twice";
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM statistorico WHERE stato = 'CONSEGNATO'")), 1);

    auto second = invoiceWithRow(db(), QStringLiteral("Contanti"), fromTicket);
    try {
        second->save();
        FAIL() << "a second invoice took the ticket";
    } catch (const core::Error& refused) {
        EXPECT_EQ(refused.message(), documents::RepairHandOver::takenMessage());
    }
    EXPECT_FALSE(second->document().isNumbered());
    EXPECT_EQ(cashBook(second->document().header().id).size(), 0);
}

TEST_F(FatturaImmediataTest, ACustomerWithUnpaidSalesIsToldAndTheListOpens)
{
    insert("sospesi", {{QStringLiteral("idCliente"), m_customer}, {QStringLiteral("Saldato"), false}});
    documents::FatturaImmediata invoice(db(), m_session, m_paths, m_dialogs, m_navigator, m_reports);
    ASSERT_TRUE(invoice.open({}));
    m_navigator.returnFrom(QStringLiteral("TClientiPreleva"), {true, m_customer, {}});
    m_dialogs.answerConfirm(true);
    ASSERT_TRUE(invoice.chooseCustomer(QStringLiteral("Ros")));
    EXPECT_EQ(
        m_navigator.lastRequest(QStringLiteral("TClientiPreleva")).values.value(QStringLiteral("testo")),
        QStringLiteral("Ros"));
    EXPECT_EQ(m_dialogs.texts(ct::DialogEvent::Kind::Confirm),
              QStringList{documents::FatturaImmediata::unpaidQuestion()});
    const core::NavigationRequest list = m_navigator.lastRequest(QStringLiteral("TSospesi"));
    EXPECT_EQ(list.caller, documents::FatturaImmediata::windowName());
    EXPECT_EQ(list.values.value(QStringLiteral("idCliente")).toInt(), m_customer);
    EXPECT_EQ(invoice.document().header().customerId, m_customer);
}

// "Crea nuovo" takes the next customer code under the numbering lock: a second workstation adding a
// customer at the same time makes this one wait, and the codes differ.
TEST_F(FatturaImmediataTest, ANewCustomerWaitsForAnotherWorkstationsCode)
{
    db().exec(QStringLiteral("UPDATE clienti SET CodiceCliente = 7"));
    const auto theirs = company().newConnection();
    const auto observer = company().newConnection();
    // Their customer is written, not yet committed, under the code's lock.
    auto theirCode = std::make_unique<core::NumberReservation>(*theirs, core::Series::CodiceCliente);
    auto theirAdd = std::make_unique<core::Transaction>(*theirs);
    theirs->exec(
        QStringLiteral("INSERT INTO clienti (CodiceCliente, RagioneSociale) VALUES (:CODICE, 'Verdi')"),
        {{QStringLiteral("CODICE"), theirCode->number()}});
    documents::FatturaImmediata invoice(db(), m_session, m_paths, m_dialogs, m_navigator, m_reports);
    ASSERT_TRUE(invoice.open({}));
    ct::Workstation here(db());
    here.start([&](core::Db&) { EXPECT_TRUE(invoice.createCustomer(QStringLiteral("Bianchi Spa"))); });
    EXPECT_TRUE(here.waitsAtNamedLock(*observer));
    theirAdd->commit();
    theirCode.reset();
    here.finish();
    const core::Rows created = db().query(
        QStringLiteral("SELECT CodiceCliente, Listino FROM clienti WHERE RagioneSociale = 'Bianchi Spa'"));
    ASSERT_EQ(created.size(), 1);
    EXPECT_EQ(created.value(0, "CodiceCliente").toInt(), 9);
    EXPECT_EQ(created.value(0, "Listino").toString(), QStringLiteral("LISTINO1"));
    EXPECT_EQ(invoice.document().header().customerName, QStringLiteral("Bianchi Spa"));
}

// The quantity dialog's checks come in the order the operator reads them, and the dialog stays open.
TEST_F(FatturaImmediataTest, TheQuantityDialogRefusesInOrder)
{
    db().exec(QStringLiteral("UPDATE articoli SET Listino2 = 0, Listino3 = 9.5"));
    auto invoice = invoiceWithRow(db(), QStringLiteral("Contanti"));
    auto entry = invoice->entryFor(m_item);
    EXPECT_EQ(entry->listPrices(), (QStringList{QStringLiteral("€ 12,20"), QStringLiteral("Non Impostato"),
                                                QStringLiteral("€ 9,50")}));
    EXPECT_FALSE(entry->takeList(2));
    EXPECT_EQ(m_dialogs.lastText(), QStringLiteral("Nessun prezzo impostato su Questo listino!"));
    EXPECT_EQ(entry->takeList(3), euros("9.50"));
    struct Case
    {
        const char *quantity, *price;
        QString message;
    };
    const std::vector<Case> cases{
        {"0", "", QStringLiteral("Operazione non consentita. Inserire almeno una quantità da scaricare")},
        {"2", "0", QStringLiteral("Inserire il prezzo di vendita!")},
        {"1,5", "12,20", QStringLiteral("Inserire la Quantità!")},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(entry->confirm(QLatin1String(c.quantity), QLatin1String(c.price), {}, {}));
        EXPECT_EQ(m_dialogs.lastText(), c.message) << c.quantity;
    }
    EXPECT_EQ(invoice->document().rows().size(), 1);
}

} // namespace

namespace {

// The works list and the withholding list are opened by name; what they give back becomes a line
// and the invoice's withholding. Without a Dropbox folder the operator is told so.
TEST_F(FatturaImmediataTest, ServicesAndWithholdingComeFromTheirLists)
{
    emptyTables({"lavori"});
    const int work = insert("lavori", {{QStringLiteral("Codice"), QStringLiteral("INST")},
                                       {QStringLiteral("Descrizione"), QStringLiteral("Installazione")},
                                       {QStringLiteral("Prezzo"), 61.0}});
    auto invoice = invoiceWithRow(db(), QStringLiteral("Contanti"));
    m_navigator.returnFrom(QStringLiteral("TLavori"), {true, work, {}});
    ASSERT_TRUE(invoice->addService());
    EXPECT_EQ(m_navigator.lastRequest(QStringLiteral("TLavori")).caller,
              documents::FatturaImmediata::windowName());
    ASSERT_EQ(invoice->document().rows().size(), 2);
    EXPECT_EQ(invoice->document().rows().last().amounts.subTotale, euros("50"));

    m_navigator.returnFrom(QStringLiteral("TRitenutaAccontoLista"),
                           {true,
                            1,
                            {{QStringLiteral("percentuale"), 20.0},
                             {QStringLiteral("descrizione"), QStringLiteral("Ritenuta 20%")}}});
    ASSERT_TRUE(invoice->chooseWithholding());
    EXPECT_EQ(m_navigator.lastRequest(QStringLiteral("TRitenutaAccontoLista")).key.toString(),
              QStringLiteral("FATTURA_I"));
    // 30 + 50 taxable, 20 % withheld.
    EXPECT_EQ(headerMoney(invoice->document().header().id, "ritenuta_importo"), euros("16"));
    EXPECT_EQ(headerMoney(invoice->document().header().id, "totale_dapagare"), euros("81.60"));

    EXPECT_FALSE(invoice->sendToDropbox());
    EXPECT_EQ(m_dialogs.lastText(), documents::FatturaImmediata::dropboxMissingMessage());
}

// A phone chosen by its serial in the quantity dialog is sold at the price typed there; a blocked serial
// is not offered.
TEST_F(FatturaImmediataTest, ASerialFromTheDialogTakesTheTypedPrice)
{
    const carvendo::stock::SerialItem phone =
        addPhone({QStringLiteral("IMEI-1"), QStringLiteral("IMEI-2"), QStringLiteral("IMEI-3")});
    db().exec(QStringLiteral("UPDATE articoli SET Aliquota = 22 WHERE ID = :ID"),
              {{QStringLiteral("ID"), phone.itemId}});
    db().exec(QStringLiteral("UPDATE seriali SET Disponibile = 0 WHERE Seriale = 'IMEI-3'"));
    auto invoice = invoiceWithRow(db(), QStringLiteral("Contanti"));
    auto entry = invoice->entryFor(phone.itemId);
    ASSERT_TRUE(entry->bySerial());
    ASSERT_EQ(entry->serials().size(), 2);
    const auto values =
        entry->confirm({}, QStringLiteral("244"), QStringLiteral("0"), {QStringLiteral("IMEI-2")});
    ASSERT_TRUE(values);
    ASSERT_TRUE(invoice->confirmEntry(*entry, *values));
    const documents::DocumentRow row = invoice->document().rows().last();
    EXPECT_EQ(row.key.serial, QStringLiteral("IMEI-2"));
    EXPECT_EQ(row.amounts.subTotale, euros("200"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM seriali WHERE Seriale = 'IMEI-1'")), 1);
}

// A shirt sold by size: its grid replaces the quantity dialog, starting from the customer's price, and
// records its sizes with the row in one transaction. A server error half-way leaves nothing, and the
// grid as typed can be confirmed again; a new scan of the shirt opens its grid again.
TEST_F(FatturaImmediataTest, ASizeItemIsEnteredOnItsGridTogetherWithItsRow)
{
    const int shirt = addShirt();
    auto invoice = invoiceWithRow(db(), QStringLiteral("Contanti"));
    auto entry = invoice->entryFor(shirt);
    ASSERT_TRUE(entry->bySize());
    auto sizes = invoice->sizesFor(*entry);
    EXPECT_EQ(sizes->price(), euros("24.40"));
    ASSERT_TRUE(sizes->setQuantity(0, 1, 1));
    ASSERT_TRUE(sizes->setQuantity(0, 2, 2));
    const core::Params item{{QStringLiteral("ID"), shirt}};
    const auto nothingMoved = [&] {
        EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM scaricotcdoc")), 0);
        EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM dettfattura WHERE idarticolo = :ID"), item), 0);
        EXPECT_EQ(db().scalar(QStringLiteral("SELECT CONCAT(TG1, '|', TG2) FROM disptc")).toString(),
                  QStringLiteral("5|5"));
        EXPECT_EQ(stockOf(shirt), std::make_pair(10.0, 10.0));
    };
    {
        ct::FailingWrite failing(db(), ct::FailingWrite::On::Insert, QStringLiteral("venduti"));
        EXPECT_THROW(invoice->confirmSizes(*sizes), core::Error);
    }
    nothingMoved();

    ASSERT_TRUE(invoice->confirmSizes(*sizes)) << m_dialogs.messages().join(u'\n').toStdString();
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT GROUP_CONCAT(CONCAT(tipodoc, ' ', taglia, ' ', quantita) "
                                         "ORDER BY taglia DESC) FROM scaricotcdoc"))
                  .toString(),
              QStringLiteral("Fattura S 1,Fattura M 2"));
    const documents::DocumentRow row = invoice->document().rows().last();
    EXPECT_EQ(row.key.itemId, shirt);
    EXPECT_EQ(row.quantity, 3);
    EXPECT_TRUE(row.bySize);
    EXPECT_EQ(row.amounts.subTotaleIvato, euros("73.20"));
    EXPECT_EQ(stockOf(shirt), std::make_pair(7.0, 7.0));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT CONCAT(TG1, '|', TG2) FROM disptc")).toString(),
              QStringLiteral("4|3"));

    auto again = invoice->scan(QStringLiteral("800MAGLIA"));
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->bySize());
    EXPECT_EQ(stockOf(shirt), std::make_pair(7.0, 7.0));
}

// "Invia email" writes the saved invoice's PDF and opens the mail window addressed to the customer with
// that file attached; an unsaved invoice has no number to send.
TEST_F(FatturaImmediataTest, TheMailFormOpensWithTheSavedInvoicesPdf)
{
    QTemporaryDir templates;
    QFile page(templates.filePath(QStringLiteral("Fattura.html")));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><body>{{#Righe}}<p>{{Descrizione}}</p>{{/Righe}}</body></html>");
    page.close();
    ct::RecordingReportOutput reports(templates.path());
    db().exec(QStringLiteral("UPDATE clienti SET email = 'rossi@example.it'"));
    auto invoice = invoiceWithRow(db(), QStringLiteral("Contanti"), {}, &reports);
    EXPECT_FALSE(invoice->sendMail());
    EXPECT_EQ(m_dialogs.lastText(), QStringLiteral("Attenzione! Salvare prima la fattura."));

    ASSERT_TRUE(invoice->save());
    ASSERT_TRUE(invoice->sendMail());
    const carvendo::messaging::MailMessage mail = carvendo::messaging::MailMessage::fromValues(
        m_navigator.lastRequest(QStringLiteral("TMailForm")).values);
    EXPECT_EQ(mail.to, QStringLiteral("rossi@example.it"));
    EXPECT_EQ(mail.subject, QStringLiteral("Fattura Nr. 1 del ") +
                                invoice->document().header().date.toString(QStringLiteral("dd/MM/yyyy")));
    EXPECT_EQ(mail.attachment, invoice->document().pdfPath(m_paths));
    EXPECT_TRUE(ct::pdfText(mail.attachment).contains(QStringLiteral("Articolo A")));
}

} // namespace
