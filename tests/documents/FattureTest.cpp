#include "tests/documents/SalesDocumentFixture.h"

#include "documents/Fatture.h"

#include "core/Error.h"
#include "core/Privileges.h"
#include "tests/support/FailingWrite.h"
#include "tests/support/RecordingNavigator.h"
#include "tests/support/RecordingReportOutput.h"

using namespace carvendo;
namespace ct = carvendo::testing;
using ct::euros;

namespace {

// The list of immediate invoices over saved invoices of one customer.
class FattureTest : public ct::SalesDocumentFixture<FattureTest>
{
protected:
    void SetUp() override
    {
        SalesDocumentFixture::SetUp();
        emptyTables({"ddt"});
        m_item = addItem(QStringLiteral("A"), 22, "12.20");
        m_customer = addCustomer();
    }
    void allowDelete(bool allowed)
    {
        core::Privileges privileges;
        privileges.set(core::Privilege::Cancellazione, allowed);
        m_session.logIn(
            core::Operator{ct::kSerialActor.operatorId, ct::kSerialActor.operatorName, {}, {}, {}},
            core::Warehouse{ct::kSerialActor.warehouseId, ct::kSerialActor.warehouseName}, privileges);
    }
    // A saved invoice of three pieces of the item.
    int savedInvoice()
    {
        auto invoice = newInvoice(db(), m_customer);
        EXPECT_TRUE(invoice.addItem(m_item, 3, 0, euros("12.20")));
        EXPECT_TRUE(invoice.save());
        return invoice.header().id;
    }
    // A delivery note already billed by the invoice's row.
    int billedNote(int invoiceId)
    {
        const int note = insert("ddt", {{QStringLiteral("NumDoc"), 7}, {QStringLiteral("fatturaemessa"), 1}});
        db().exec(QStringLiteral("UPDATE dettfattura SET idddt = :DDT WHERE idFattura = :ID"),
                  {{QStringLiteral("DDT"), note}, {QStringLiteral("ID"), invoiceId}});
        return note;
    }
    int billed(int note)
    {
        return db()
            .scalar(QStringLiteral("SELECT fatturaemessa FROM ddt WHERE idDdt = :ID"),
                    {{QStringLiteral("ID"), note}})
            .toInt();
    }
    documents::Fatture list() { return {db(), m_session, m_dialogs, m_navigator, m_reports}; }
    // Invoices numbered 1 to total, of two years, two customers and two series.
    void insertInvoices(int total)
    {
        db().exec(
            QStringLiteral(
                "INSERT INTO fatture (NumDoc, TipoFattura, Anno, data, RagioneSociale, Suffisso) "
                "WITH RECURSIVE n (i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < :TOTALE) "
                "SELECT i, 'I', IF(i % 2 = 0, '2025', '2026'), IF(i % 2 = 0, '2025-03-01', '2026-03-01'), "
                "IF(i % 3 = 0, 'Verdi Spa', 'Rossi Srl'), IF(i % 5 = 0, 'A', '') FROM n"),
            {{QStringLiteral("TOTALE"), total}});
    }
    static QList<int> numbers(const core::Rows& rows)
    {
        QList<int> found;
        for (const core::Row& row : rows)
            found << row["NumDoc"].toInt();
        return found;
    }

    int m_item = 0;
    int m_customer = 0;
    ct::RecordingNavigator m_navigator;
    ct::RecordingReportOutput m_reports;
};

TEST_F(FattureTest, DeleteNeedsThePrivilegeAndAYes)
{
    const int id = savedInvoice();
    const auto before = stockOf(m_item);
    documents::Fatture invoices = list();

    allowDelete(false);
    EXPECT_FALSE(invoices.remove(id));
    allowDelete(true);
    m_dialogs.answerConfirm(false);
    EXPECT_FALSE(invoices.remove(id));

    EXPECT_EQ(m_dialogs.messages(),
              QStringList{QStringLiteral("Non possiedi i privilegi per eseguire questa operazione")});
    EXPECT_EQ(m_dialogs.texts(ct::DialogEvent::Kind::Confirm),
              QStringList{QStringLiteral("Eliminare la fattura selezionata?")});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM fatture")), 1);
    EXPECT_EQ(stockOf(m_item), before);

    m_dialogs.answerConfirm(true);
    EXPECT_TRUE(invoices.remove(id));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM fatture")), 0);
    EXPECT_EQ(stockOf(m_item), (std::pair<double, double>{10, 10}));
}

// A delivery note billed by the invoice is billable again once the invoice goes, in the delete's own
// transaction: a delete that fails leaves the note billed; a note of another invoice stays billed.
TEST_F(FattureTest, DeletingAnInvoiceMakesTheDeliveryNotesItBilledBillableAgain)
{
    const int id = savedInvoice();
    const int note = billedNote(id);
    const int otherNote = billedNote(savedInvoice());
    allowDelete(true);
    documents::Fatture invoices = list();
    {
        const ct::FailingWrite failing(db(), ct::FailingWrite::On::Delete, QStringLiteral("fatture"));
        m_dialogs.answerConfirm(true);
        EXPECT_THROW(invoices.remove(id), core::Error);
    }
    EXPECT_EQ(billed(note), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM dettfattura WHERE idFattura = :ID"),
                    {{QStringLiteral("ID"), id}}),
              1);

    m_dialogs.answerConfirm(true);
    ASSERT_TRUE(invoices.remove(id));
    EXPECT_EQ(billed(note), 0);
    EXPECT_EQ(billed(otherNote), 1);
}

// Newest first, a page at a time with nothing repeated or skipped; the filters narrow together.
TEST_F(FattureTest, TheListPagesThroughEveryInvoiceAndTheFiltersCombine)
{
    const int total = documents::Fatture::pageSize() + 5;
    insertInvoices(total);
    db().exec(QStringLiteral("INSERT INTO fatture (NumDoc, TipoFattura, Anno) VALUES (1, 'D', '2026')"));
    documents::Fatture invoices = list();

    invoices.search({});
    EXPECT_EQ(invoices.rows().size(), documents::Fatture::pageSize());
    EXPECT_TRUE(invoices.loadMore());
    EXPECT_FALSE(invoices.hasMore());
    const QList<int> all = numbers(invoices.rows());
    EXPECT_EQ(all.size(), total);
    EXPECT_EQ(QSet<int>(all.begin(), all.end()).size(), total);
    EXPECT_EQ(invoices.rows().value(0, u"NumDoc").toInt(), total);

    invoices.search({.customer = QStringLiteral("verdi"), .year = 2026, .series = QStringLiteral("A")});
    EXPECT_EQ(numbers(invoices.rows()), (QList<int>{195, 165, 135, 105, 75, 45, 15}));
    invoices.search({.number = QStringLiteral("15"), .from = QDate(2026, 1, 1), .to = QDate(2026, 12, 31)});
    EXPECT_EQ(invoices.rows().size(), 1);
}

// The list read again after a command keeps the pages loaded with "Altre": the invoice opened from the
// second page is still listed, and a deleted one gives its place to the next older one.
TEST_F(FattureTest, ACommandKeepsThePagesLoadedWithAltre)
{
    const int page = documents::Fatture::pageSize();
    insertInvoices(2 * page + 5);
    documents::Fatture invoices = list();
    invoices.search({});
    ASSERT_TRUE(invoices.loadMore());
    const QList<int> shown = numbers(invoices.rows());
    ASSERT_EQ(shown.size(), 2 * page);
    const int older = invoices.rows().value(page + 10, u"idFattura").toInt();

    invoices.modify(older);
    EXPECT_EQ(m_navigator.lastRequest(documents::Fatture::invoiceWindow()).key.toInt(), older);
    EXPECT_EQ(numbers(invoices.rows()), shown);
    EXPECT_TRUE(invoices.hasMore());

    db().exec(QStringLiteral("DELETE FROM fatture WHERE idFattura = :ID"), {{QStringLiteral("ID"), older}});
    invoices.refresh();
    QList<int> expected = shown;
    expected.removeAt(page + 10);
    expected << 5;
    EXPECT_EQ(numbers(invoices.rows()), expected);
    ASSERT_TRUE(invoices.loadMore());
    EXPECT_EQ(numbers(invoices.rows()).mid(2 * page), (QList<int>{4, 3, 2, 1}));
    EXPECT_FALSE(invoices.hasMore());
}

} // namespace
