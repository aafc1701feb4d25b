#include "tests/documents/SalesDocumentFixture.h"

#include "documents/DocumentPrint.h"

#include "stock/sizes/ScaricoTC.h"

#include "core/Error.h"
#include "core/Numbering.h"
#include "core/Paths.h"
#include "tests/support/FailingWrite.h"
#include "tests/support/Workstation.h"

namespace ct = carvendo::testing;
namespace documents = carvendo::documents;
using carvendo::core::Money;
using carvendo::documents::RowKey;
using carvendo::documents::VatLine;
using ct::euros;

namespace {

class SalesDocumentTest : public ct::SalesDocumentFixture<SalesDocumentTest>
{
};

struct PricedRow
{
    const char* listino;
    bool ownRate;
    int customerRate;
    int itemRate;
    const char* pubblico;
    double quantity;
    int discount;
    int aliquota;
    const char *prezzoVendita, *subTotale, *subTotaleIvato, *ivaSubtotale;
};

TEST_F(SalesDocumentTest, ARowIsPricedFromTheCustomersListAndRate)
{
    const PricedRow cases[] = {
        {"LISTINO1", false, 0, 22, "12.20", 3, 0, 22, "10", "30", "36.6", "6.6"},
        {"LISTINO1", false, 0, 22, "1.00", 1, 10, 22, "0.7377", "0.7377", "0.9", "0.1623"},
        {"LISTINO2", false, 0, 22, "99", 2, 0, 22, "5", "10", "12.2", "2.2"},
        {"LISTINO1", true, 4, 22, "10.40", 1, 0, 4, "10", "10", "10.4", "0.4"},
    };
    for (const PricedRow& c : cases) {
        SCOPED_TRACE(std::string(c.listino) + " " + c.pubblico);
        SetUp();
        const int item = addItem(QStringLiteral("A"), c.itemRate, c.pubblico);
        db().exec(QStringLiteral("UPDATE articoli SET Listino2 = 6.1, PrezzoVendnoiva2 = 5 WHERE ID = :ID"),
                  {{QStringLiteral("ID"), item}});
        auto invoice = newInvoice(db(), addCustomer(c.listino, c.ownRate, c.customerRate));
        ASSERT_TRUE(invoice.addItem(item, c.quantity, c.discount, invoice.priceOf(item).gross));

        const auto row = db().query(QStringLiteral("SELECT * FROM dettfattura")).first();
        EXPECT_EQ(row["Aliquota"].toInt(), c.aliquota);
        EXPECT_EQ(row["PrezzoVendita"].toMoney(), euros(c.prezzoVendita));
        EXPECT_EQ(row["SubTotale"].toMoney(), euros(c.subTotale));
        EXPECT_EQ(row["SubTotaleIvato"].toMoney(), euros(c.subTotaleIvato));
        EXPECT_EQ(row["IvaSubtotale"].toMoney(), euros(c.ivaSubtotale));
        EXPECT_EQ(headerMoney(invoice.header().id, "imponibile"), euros(c.subTotale));
        EXPECT_EQ(headerMoney(invoice.header().id, "totaledocumento"),
                  euros(c.subTotale) + euros(c.ivaSubtotale));
    }
}

// The discount belongs to the document: a new row keeps it, a second entry replaces it, "Rimuovi"
// brings back the rows' sums; the withholding is taken on what is left.
TEST_F(SalesDocumentTest, TheDocumentDiscountSurvivesANewRowAndNeverCompounds)
{
    auto invoice = newInvoice(db(), addCustomer());
    const int id = invoice.header().id;
    invoice.addItem(addItem(QStringLiteral("A"), 22, "122"), 1, 0, euros("122"));
    m_dialogs.answerText(QStringLiteral("10")).answerText(QStringLiteral("10"));
    ASSERT_TRUE(invoice.applyDiscount());
    EXPECT_EQ(headerMoney(id, "imponibile"), euros("90"));
    EXPECT_EQ(headerMoney(id, "ivatotale"), euros("19.8"));
    EXPECT_EQ(headerMoney(id, "totaledocumento"), euros("109.8"));
    EXPECT_EQ(headerMoney(id, "sconto"), euros("10"));
    EXPECT_EQ(headerMoney(id, "scontoiva"), euros("2.2"));
    ASSERT_TRUE(invoice.applyDiscount());
    EXPECT_EQ(headerMoney(id, "imponibile"), euros("90"));

    invoice.addItem(addItem(QStringLiteral("B"), 22, "12.20"), 1, 0, euros("12.20"));
    EXPECT_EQ(headerMoney(id, "imponibile"), euros("99"));
    EXPECT_EQ(headerMoney(id, "ivatotale"), euros("21.78"));
    EXPECT_EQ(headerMoney(id, "sconto"), euros("11"));

    invoice.removeDiscount();
    invoice.setWithholding(euros("20"), QStringLiteral("Ritenuta 20%"));
    EXPECT_EQ(headerMoney(id, "imponibile"), euros("110"));
    EXPECT_EQ(headerMoney(id, "totaledocumento"), euros("134.2"));
    EXPECT_EQ(headerMoney(id, "ritenuta_importo"), euros("22"));
    EXPECT_EQ(headerMoney(id, "totale_dapagare"), euros("112.2"));
    EXPECT_EQ(headerMoney(id, "sconto"), Money());
}

// Sold in grams from a stock kept in kilograms: the row moves 0,25 and gives back 0,25.
TEST_F(SalesDocumentTest, ARowMovesItsConvertedQuantityAndGivesBackExactlyThat)
{
    const int cheese = addItem(QStringLiteral("FORM"), 4, "0.0208", "KG", "GR");
    auto invoice = newInvoice(db(), addCustomer());
    invoice.addItem(cheese, 250, 0, euros("0.0208"));
    EXPECT_EQ(stockOf(cheese), std::make_pair(9.75, 9.75));
    EXPECT_EQ(
        db().scalar(QStringLiteral("SELECT quantita FROM venduti WHERE TipoDoc = 'Fattura'")).toDouble(),
        0.25);

    const RowKey row{cheese, QStringLiteral("FORM"), {}};
    invoice.editRow(row, 500, 0, euros("0.0208"));
    EXPECT_EQ(stockOf(cheese), std::make_pair(9.5, 9.5));

    invoice.removeRow(row);
    EXPECT_EQ(stockOf(cheese), std::make_pair(10.0, 10.0));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM venduti")), 0);
    EXPECT_EQ(headerMoney(invoice.header().id, "imponibile"), Money());
}

TEST_F(SalesDocumentTest, RemovingASerialRowGivesBackThatSerialOnly)
{
    const auto phone = addPhone({QStringLiteral("IMEI-A"), QStringLiteral("IMEI-B")});
    auto invoice = newInvoice(db(), addCustomer());
    ASSERT_TRUE(invoice.addSerial(QStringLiteral("IMEI-A")));
    ASSERT_EQ(invoice.scan(QStringLiteral("IMEI-B")), carvendo::documents::ScanOutcome::Added);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM seriali")), 0);

    invoice.removeRow({phone.itemId, phone.code, QStringLiteral("IMEI-A")});
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT GROUP_CONCAT(Seriale) FROM seriali")).toString(),
              QStringLiteral("IMEI-A"));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT GROUP_CONCAT(Seriale) FROM serialidocumenti")).toString(),
              QStringLiteral("IMEI-B"));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT GROUP_CONCAT(Seriale) FROM dettfattura")).toString(),
              QStringLiteral("IMEI-B"));
}

// 22 % and 5 % rows both appear, and the summary adds up to the taxable total.
TEST_F(SalesDocumentTest, TheVatSummaryGroupsTheRowsRealRates)
{
    auto invoice = newInvoice(db(), addCustomer());
    invoice.addItem(addItem(QStringLiteral("A"), 22, "12.20"), 1, 0, euros("12.20"));
    invoice.addItem(addItem(QStringLiteral("B"), 5, "10.50"), 1, 0, euros("10.50"));
    invoice.addItem(addItem(QStringLiteral("C"), 22, "24.40"), 1, 0, euros("24.40"));

    const QList<VatLine> summary = invoice.vatSummary();
    ASSERT_EQ(summary.size(), 2);
    EXPECT_EQ(summary[0].aliquota, 5);
    EXPECT_EQ(summary[0].imponibile, euros("10"));
    EXPECT_EQ(summary[0].iva, euros("0.5"));
    EXPECT_EQ(summary[1].aliquota, 22);
    EXPECT_EQ(summary[1].imponibile, euros("30"));
    EXPECT_EQ(summary[1].iva, euros("6.6"));
    EXPECT_EQ(invoice.totals().imponibile, euros("40"));
    EXPECT_EQ(invoice.totals().ivatotale, euros("7.1"));

    // The print gets the same lines; without a withholding its memos stay hidden.
    const auto print = documents::DocumentPrint(db(), invoice.kind())
                           .request(invoice.header().id, QStringLiteral("Fattura"));
    const auto& printed = print.datasets.at(QStringLiteral("Iva"));
    ASSERT_EQ(printed.size(), 2);
    EXPECT_EQ(printed[0]["Descrizione"].toString(), QStringLiteral("IVA 5%"));
    EXPECT_EQ(printed[1]["Descrizione"].toString(), QStringLiteral("IVA 22%"));
    EXPECT_EQ(printed[1]["Imponibile"].toMoney(), euros("30"));
    EXPECT_EQ(print.datasets.at(QStringLiteral("Righe")).size(), 3);
    EXPECT_TRUE(print.hiddenMemos.contains(QStringLiteral("Memo_TotDaPagare")));
    invoice.setWithholding(euros("20"), QStringLiteral("Ritenuta 20%"));
    EXPECT_TRUE(documents::DocumentPrint(db(), invoice.kind())
                    .request(invoice.header().id, QStringLiteral("Fattura"))
                    .hiddenMemos.isEmpty());
}

TEST_F(SalesDocumentTest, SavingChecksTheCustomerAndTheRowsThenNumbersOnce)
{
    documents::SalesDocument empty(documents::DocumentKind::of(documents::DocumentKindId::FatturaImmediata),
                                   db(), m_dialogs, m_session);
    empty.openNew();
    EXPECT_FALSE(empty.save());
    EXPECT_EQ(m_dialogs.lastText(), QStringLiteral("Attenzione! Scegliere un Cliente"));
    empty.setCustomer(addCustomer());
    EXPECT_FALSE(empty.save());
    EXPECT_EQ(m_dialogs.lastText(), QStringLiteral("Attenzione! Inserire almeno un'articolo"));

    empty.addItem(addItem(QStringLiteral("A"), 22, "12.20"), 1, 0, euros("12.20"));
    ASSERT_TRUE(empty.save());
    ASSERT_TRUE(empty.save());
    EXPECT_EQ(empty.header().number, 1);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT NumDoc FROM dettfattura")).toInt(), 1);
    // Dated at creation, so the year's numbering counts it; a typed number may not repeat another's.
    const auto header =
        db().query(QStringLiteral("SELECT Anno, Mese, data, Causale, TipoFattura FROM fatture")).first();
    const QDate today = db().scalar(QStringLiteral("SELECT CURRENT_DATE")).variant().toDate();
    EXPECT_EQ(header["data"].variant().toDate(), today);
    EXPECT_EQ(header["Anno"].toString(), QString::number(today.year()));
    EXPECT_EQ(header["Mese"].toString(), carvendo::core::monthName(today.month()));
    EXPECT_EQ(header["Causale"].toString(), QStringLiteral("Vendita"));
    EXPECT_EQ(header["TipoFattura"].toString(), QStringLiteral("I"));

    auto second = newInvoice(db(), addCustomer());
    second.addItem(addItem(QStringLiteral("B"), 22, "12.20"), 1, 0, euros("12.20"));
    ASSERT_TRUE(second.save());
    EXPECT_EQ(second.header().number, 2);
    EXPECT_FALSE(second.setNumber(1));
    EXPECT_EQ(m_dialogs.lastText(),
              documents::SalesDocument::numberTakenMessage(1, header["Anno"].toString()));
    EXPECT_TRUE(second.setNumber(5));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM dettfattura WHERE NumDoc = 5")), 1);

    // The PDF name carries the year and the series: another year's invoice 5 keeps its file.
    const QString year = header["Anno"].toString();
    EXPECT_EQ(second.pdfFileName(), QStringLiteral("Fattura_Nr.5_") + year + QStringLiteral(".pdf"));
    documents::SalesDocument seriesA(documents::DocumentKind::of(documents::DocumentKindId::FatturaImmediata),
                                     db(), m_dialogs, m_session);
    seriesA.openNew(QStringLiteral("A"));
    seriesA.setCustomer(addCustomer());
    seriesA.addItem(addItem(QStringLiteral("C"), 22, "12.20"), 1, 0, euros("12.20"));
    ASSERT_TRUE(seriesA.save());
    EXPECT_EQ(seriesA.header().number, 1) << "each series counts on its own";
    EXPECT_EQ(seriesA.pdfFileName(), QStringLiteral("Fattura_Nr.1-A_") + year + QStringLiteral(".pdf"));
}

// The first workstation's save is inside a transaction it commits late: the second waits for the
// numbering lock and then takes the next number.
TEST_F(SalesDocumentTest, TwoWorkstationsSavingNewInvoicesGetDistinctNumbers)
{
    const int customer = addCustomer();
    const int item = addItem(QStringLiteral("A"), 22, "12.20");
    const auto theirs = company().newConnection();
    const auto observer = company().newConnection();
    auto mine = newInvoice(db(), customer);
    auto other = newInvoice(*theirs, customer);
    mine.addItem(item, 1, 0, euros("12.20"));
    other.addItem(item, 1, 0, euros("12.20"));

    {
        carvendo::core::Transaction late(db());
        ASSERT_TRUE(mine.save());
        ct::Workstation there(*theirs);
        there.start([&](carvendo::core::Db&) { EXPECT_TRUE(other.save()); });
        EXPECT_TRUE(there.waitsAtNamedLock(*observer));
        late.commit();
        there.finish();
    }
    EXPECT_EQ(mine.header().number, 1);
    EXPECT_EQ(other.header().number, 2);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(DISTINCT NumDoc) FROM fatture")), 2);
}

// Two workstations each putting the first row on a new invoice: neither waits for the other, so they
// cannot deadlock over the sales records' index either.
TEST_F(SalesDocumentTest, FirstRowsOfTwoNewInvoicesDoNotWaitForEachOther)
{
    const int customer = addCustomer();
    const int mineItem = addItem(QStringLiteral("A"), 22, "12.20");
    const int theirItem = addItem(QStringLiteral("B"), 22, "12.20");
    const auto theirs = company().newConnection();
    auto mine = newInvoice(db(), customer);
    auto other = newInvoice(*theirs, customer);
    {
        carvendo::core::Transaction late(*theirs);
        other.addItem(theirItem, 1, 0, euros("12.20"));
        // Waiting for the other workstation's uncommitted row would end in a lock-wait timeout here.
        db().exec(QStringLiteral("SET SESSION innodb_lock_wait_timeout = 1"));
        EXPECT_NO_THROW(mine.addItem(mineItem, 1, 0, euros("12.20")));
        db().exec(QStringLiteral("SET SESSION innodb_lock_wait_timeout = DEFAULT"));
        late.commit();
    }
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM venduti")), 2);
}

TEST_F(SalesDocumentTest, AFailedSalesRecordLeavesNeitherRowNorStockMove)
{
    const int item = addItem(QStringLiteral("A"), 22, "12.20");
    auto invoice = newInvoice(db(), addCustomer());
    {
        ct::FailingWrite failing(db(), ct::FailingWrite::On::Insert, QStringLiteral("venduti"));
        EXPECT_THROW(invoice.addItem(item, 2, 0, euros("12.20")), carvendo::core::Error);
    }
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM dettfattura")), 0);
    EXPECT_EQ(stockOf(item), std::make_pair(10.0, 10.0));
    EXPECT_EQ(invoice.totals().imponibile, Money());
    EXPECT_EQ(headerMoney(invoice.header().id, "imponibile"), Money());
}

// Deleted from a workstation of another warehouse: the stock goes back where the invoice took it,
// and the invoice's cash-book lines and deadlines go with it (not those of delivery note 7).
TEST_F(SalesDocumentTest, DeletingGivesBackToTheInvoicesWarehouseAndTakesItsLines)
{
    const int item = addItem(QStringLiteral("A"), 22, "12.20");
    auto invoice = newInvoice(db(), addCustomer());
    invoice.addItem(item, 3, 0, euros("12.20"));
    ASSERT_TRUE(invoice.save());
    const int id = invoice.header().id;
    insert("prima_nota",
           {{QStringLiteral("iddoc"), id}, {QStringLiteral("tipodoc"), QStringLiteral("Fattura Immediata")}});
    insert("scadenzario", {{QStringLiteral("rifDoc"), id},
                           {QStringLiteral("TipoDoc"), QStringLiteral("Fattura di Vendita")},
                           {QStringLiteral("Tipo"), QStringLiteral("Credito")}});
    insert("scadenzario", {{QStringLiteral("rifDoc"), id},
                           {QStringLiteral("TipoDoc"), QStringLiteral("DDT")},
                           {QStringLiteral("Tipo"), QStringLiteral("Credito")}});

    carvendo::core::Session elsewhere;
    elsewhere.logIn({}, carvendo::core::Warehouse{2, QStringLiteral("ALTRO")}, {});
    documents::SalesDocument loaded(documents::DocumentKind::of(documents::DocumentKindId::FatturaImmediata),
                                    db(), m_dialogs, elsewhere);
    loaded.load(id);
    loaded.remove();

    EXPECT_EQ(stockOf(item), std::make_pair(10.0, 10.0));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM giacenze WHERE idmagazzino = 2")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM fatture")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM dettfattura")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM venduti")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM prima_nota")), 0);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT GROUP_CONCAT(TipoDoc) FROM scadenzario")).toString(),
              QStringLiteral("DDT"));
}

TEST_F(SalesDocumentTest, ARepeatedScanGrowsTheRowByTheLastEntry)
{
    const int item = addItem(QStringLiteral("A"), 22, "12.20");
    auto invoice = newInvoice(db(), addCustomer());
    invoice.addItem(item, 2, 0, euros("12.20"));
    EXPECT_EQ(invoice.scan(QStringLiteral("800A")), documents::ScanOutcome::Added);
    const auto rows = invoice.rows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].quantity, 4);
    EXPECT_EQ(stockOf(item), std::make_pair(6.0, 6.0));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT quantita FROM venduti")).toDouble(), 4);

    const int other = addItem(QStringLiteral("B"), 22, "1");
    EXPECT_EQ(invoice.scan(QStringLiteral("800B")), documents::ScanOutcome::NeedsEntry);
    EXPECT_EQ(invoice.scannedItem(), other);
    m_dialogs.answerConfirm(true);
    EXPECT_EQ(invoice.scan(QStringLiteral("999")), documents::ScanOutcome::CreateItem);
    EXPECT_EQ(m_dialogs.lastText(), QStringLiteral("Articolo inestistente! Vuoi creare un nuovo Articolo?"));
}

TEST_F(SalesDocumentTest, ARowNeedsACustomer)
{
    const int item = addItem(QStringLiteral("A"), 22, "12.20");
    documents::SalesDocument invoice(documents::DocumentKind::of(documents::DocumentKindId::FatturaImmediata),
                                     db(), m_dialogs, m_session);
    invoice.openNew();
    EXPECT_FALSE(invoice.addItem(item, 1, 0, euros("12.20")));
    EXPECT_EQ(m_dialogs.lastText(), documents::SalesDocument::noCustomerForRowMessage());
    EXPECT_EQ(stockOf(item), std::make_pair(10.0, 10.0));
}

// "Annulla" on a new invoice: every serial, and the converted quantity, back as before.
TEST_F(SalesDocumentTest, DiscardingANewInvoiceLeavesStockAsBefore)
{
    addPhone({QStringLiteral("IMEI-A"), QStringLiteral("IMEI-B")});
    const int cheese = addItem(QStringLiteral("FORM"), 4, "0.0208", "KG", "GR");
    auto invoice = newInvoice(db(), addCustomer());
    invoice.addSerial(QStringLiteral("IMEI-A"));
    invoice.addSerial(QStringLiteral("IMEI-B"));
    invoice.addItem(cheese, 250, 0, euros("0.0208"));
    invoice.discard();

    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM seriali")), 2);
    EXPECT_EQ(stockOf(cheese), std::make_pair(10.0, 10.0));
    for (const char* table : {"fatture", "dettfattura", "venduti", "serialidocumenti"})
        EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table))), 0) << table;
}

// Both workstations remove the same row; the second waits for the first's header and then finds
// nothing left to give back.
TEST_F(SalesDocumentTest, TwoWorkstationsRemovingOneRowGiveItBackOnce)
{
    const int item = addItem(QStringLiteral("A"), 22, "12.20");
    auto mine = newInvoice(db(), addCustomer());
    mine.addItem(item, 3, 0, euros("12.20"));
    const auto theirs = company().newConnection();
    const auto observer = company().newConnection();
    documents::SalesDocument other(documents::DocumentKind::of(documents::DocumentKindId::FatturaImmediata),
                                   *theirs, m_dialogs, m_session);
    other.load(mine.header().id);
    const RowKey row{item, QStringLiteral("A"), {}};
    {
        carvendo::core::Transaction late(*theirs);
        other.removeRow(row);
        ct::Workstation here(db());
        here.start([&](carvendo::core::Db&) { mine.removeRow(row); });
        EXPECT_TRUE(here.waitsAtTable(*observer, QStringLiteral("fatture")));
        late.commit();
        here.finish();
    }
    EXPECT_EQ(stockOf(item), std::make_pair(10.0, 10.0));
    EXPECT_EQ(mine.totals().imponibile, Money());
}

// Three serials ticked together while another till is half-way through selling the third: the third
// is refused and takes the first two back with it, so the document never holds part of what was ticked.
TEST_F(SalesDocumentTest, SerialsTickedTogetherAreAddedAllOrNone)
{
    addPhone({QStringLiteral("IMEI-A"), QStringLiteral("IMEI-B"), QStringLiteral("IMEI-C")});
    auto mine = newInvoice(db(), addCustomer());
    const auto theirs = company().newConnection();
    const auto observer = company().newConnection();
    {
        carvendo::core::Transaction late(*theirs);
        theirs->exec(QStringLiteral("DELETE FROM seriali WHERE Seriale = 'IMEI-C'")); // taken, not committed
        ct::Workstation here(db());
        here.start([&](carvendo::core::Db&) {
            mine.addSerials({QStringLiteral("IMEI-A"), QStringLiteral("IMEI-B"), QStringLiteral("IMEI-C")},
                            euros("244"), 0);
        });
        EXPECT_TRUE(here.waitsAtTable(*observer, QStringLiteral("seriali")));
        late.commit();
        try {
            here.finish();
            ADD_FAILURE() << "a serial sold elsewhere was added";
        } catch (const carvendo::core::Error& refusal) {
            EXPECT_EQ(refusal.message(), QStringLiteral("Attenzione! Seriale non disponibile"));
        }
    }
    EXPECT_EQ(
        db().scalar(QStringLiteral("SELECT GROUP_CONCAT(Seriale ORDER BY Seriale) FROM seriali")).toString(),
        QStringLiteral("IMEI-A,IMEI-B"));
    for (const char* table : {"dettfattura", "serialidocumenti", "venduti"})
        EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table))), 0) << table;
    EXPECT_EQ(mine.totals().imponibile, Money());
}

// Sizes sold through the size/colour dialog come back to their cells when the row goes.
TEST_F(SalesDocumentTest, RemovingASizeRowGivesBackItsCells)
{
    const int shirt = addShirt();
    auto invoice = newInvoice(db(), addCustomer());
    carvendo::stock::ScaricoTC entry(db(), m_dialogs, invoice.sizeDocument());
    entry.open(shirt);
    ASSERT_TRUE(entry.setQuantity(0, 2, 2));
    ASSERT_TRUE(entry.chooseList(1));
    ASSERT_TRUE(invoice.addSizes(entry));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT TG2 FROM disptc")).toInt(), 3);
    EXPECT_EQ(stockOf(shirt), std::make_pair(8.0, 8.0));
    EXPECT_EQ(invoice.totals().imponibile, euros("40"));

    invoice.removeRow({shirt, QStringLiteral("MAGLIA"), {}});
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT CONCAT(TG1, '|', TG2) FROM disptc")).toString(),
              QStringLiteral("5|5"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM scaricotcdoc")), 0);
    EXPECT_EQ(stockOf(shirt), std::make_pair(10.0, 10.0));
}

} // namespace
