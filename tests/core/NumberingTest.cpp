#include "core/Numbering.h"

#include "tests/support/QtPrinters.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>

#include <atomic>
#include <thread>

using namespace carvendo::core;

namespace {

class NumberingTest : public carvendo::testing::CompanySuite<NumberingTest>
{
protected:
    void SetUp() override
    {
        m_db = company().newConnection();
        for (const char* table : {"fatture", "riparazioni", "fornitori", "ordiniclienti"})
            m_db->exec(QStringLiteral("DELETE FROM %1").arg(QString::fromLatin1(table)));
        m_db->exec(QStringLiteral(
            "UPDATE contatori SET BarcodeArticolo = '', barcodecliente = '', BarcodeAss = ''"));
    }

    // Moves this session's server clock: "today" and the year come from the server.
    void setServerNow(const char* dateTime)
    {
        m_db->exec(QStringLiteral("SET timestamp = UNIX_TIMESTAMP(:T)"),
                   {{"T", QString::fromLatin1(dateTime)}});
    }

    void addInvoice(int number, const QString& year, const QString& suffix = {})
    {
        m_db->exec(QStringLiteral("INSERT INTO fatture (NumDoc, Anno, Suffisso) VALUES (:N, :A, :S)"),
                   {{"N", number}, {"A", year}, {"S", suffix}});
    }

    QString contatore(const char* column)
    {
        return m_db->scalar(QStringLiteral("SELECT `%1` FROM contatori").arg(QString::fromLatin1(column)))
            .toString();
    }

    std::unique_ptr<Db> m_db;
};

TEST_F(NumberingTest, NumbersRestartWithTheServersYear)
{
    Numbering numbering(*m_db);
    setServerNow("2025-12-31 23:59:00");
    EXPECT_EQ(numbering.peekNextNumber(Series::Fattura), 1) << "an empty table gives 1";
    addInvoice(250, QStringLiteral("2025"));
    EXPECT_EQ(numbering.peekNextNumber(Series::Fattura), 251);
    setServerNow("2026-01-01 00:00:30");
    EXPECT_EQ(numbering.peekNextNumber(Series::Fattura), 1) << "just after midnight the new year starts anew";
    addInvoice(1, QStringLiteral("2026"));
    EXPECT_EQ(numbering.peekNextNumber(Series::Fattura), 2);
    // A scope over all years (the touch till's invoices) continues after the old year's largest.
    EXPECT_EQ(numbering.peekNextNumber(Series::Fattura, {}, NumberScope::AllYears), 251);
}

TEST_F(NumberingTest, SuffixesKeepTheirOwnSeriesWhileNoSuffixCountsAllOfTheYear)
{
    setServerNow("2026-06-15 10:00:00");
    for (auto [number, suffix] : std::initializer_list<std::pair<int, const char*>>{
             {1, ""}, {2, ""}, {1, "A"}, {2, "A"}, {3, "A"}, {5, "B"}})
        addInvoice(number, QStringLiteral("2026"), QString::fromLatin1(suffix));
    addInvoice(40, QStringLiteral("2025"), QStringLiteral("A"));
    Numbering numbering(*m_db);
    EXPECT_EQ(numbering.peekNextNumber(Series::Fattura), 6);
    EXPECT_EQ(numbering.peekNextNumber(Series::Fattura, QStringLiteral("A")), 4);
    EXPECT_EQ(numbering.peekNextNumber(Series::Fattura, QStringLiteral("C")), 1);
    // Customer orders have no series: a suffix changes nothing.
    m_db->exec(QStringLiteral("INSERT INTO ordiniclienti (NumDoc, Anno) VALUES (7, '2026')"));
    EXPECT_EQ(numbering.peekNextNumber(Series::OrdineCliente, QStringLiteral("A")), 8);
}

TEST_F(NumberingTest, RepairTicketsAndSupplierCodesCountOverAllYears)
{
    setServerNow("2026-03-01 09:00:00");
    m_db->exec(QStringLiteral("INSERT INTO riparazioni (numero, anno) VALUES (7, '2019'), (3, '2026')"));
    EXPECT_EQ(Numbering(*m_db).peekNextNumber(Series::Riparazione), 8);
    // Supplier codes are kept as text: "9" must not count as larger than "10".
    m_db->exec(QStringLiteral("INSERT INTO fornitori (RagSoc, Codice) VALUES ('Uno', '9'), ('Due', '10')"));
    EXPECT_EQ(Numbering(*m_db).peekNextNumber(Series::CodiceFornitore), 11);
}

TEST_F(NumberingTest, FourWorkstationsNeverGetTheSameNumber)
{
    constexpr int kThreads = 4;
    constexpr int kPerThread = 250;
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&] {
            try {
                auto db = company().newConnection();
                Numbering numbering(*db);
                for (int i = 0; i < kPerThread; ++i)
                    numbering.withNextNumber(Series::Fattura, QString(), [&](int number) {
                        return db->exec(
                            QStringLiteral(
                                "INSERT INTO fatture (NumDoc, Anno) VALUES (:N, YEAR(CURRENT_DATE))"),
                            {{"N", number}});
                    });
            } catch (const std::exception& e) {
                ++failures;
                ADD_FAILURE() << e.what();
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    ASSERT_EQ(failures, 0);
    const Row r = m_db->query(QStringLiteral("SELECT COUNT(*) AS quante, COUNT(DISTINCT NumDoc) AS diverse, "
                                             "MAX(NumDoc) AS massimo FROM fatture"))
                      .first();
    EXPECT_EQ(r["quante"].toInt(), kThreads * kPerThread);
    EXPECT_EQ(r["diverse"].toInt(), kThreads * kPerThread);
    EXPECT_EQ(r["massimo"].toInt(), kThreads * kPerThread);
}

TEST_F(NumberingTest, TwoWorkstationsNumberingInsideTransactionsThatCommitLateGetDifferentNumbers)
{
    const auto insertInvoice = [](Db& db) {
        return Numbering(db).withNextNumber(Series::Fattura, QString(), [&](int number) {
            db.exec(QStringLiteral("INSERT INTO fatture (NumDoc, Anno) VALUES (:N, YEAR(CURRENT_DATE))"),
                    {{"N", number}});
            return number;
        });
    };
    auto first = company().newConnection();
    Transaction firstCommand(*first);
    const int firstNumber = insertInvoice(*first);

    // The second workstation's command has read the table before it asks for a number.
    std::atomic<unsigned long> secondThread{0};
    std::atomic<bool> secondDone{false};
    int secondNumber = 0;
    QString secondError;
    std::thread second([&] {
        try {
            auto db = company().newConnection();
            secondThread = db->serverThreadId();
            Transaction command(*db);
            db->scalar(QStringLiteral("SELECT COUNT(*) FROM fatture"));
            secondNumber = insertInvoice(*db);
            command.commit();
        } catch (const DbError& e) {
            secondError = e.message();
        }
        secondDone = true;
    });
    // Until the first command commits, the second waits for the lock (or, unmended, is done already).
    const QString waiting = QStringLiteral(
        "SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE ID = :ID AND STATE = 'User lock'");
    QDeadlineTimer deadline(10000);
    while (!secondDone && !deadline.hasExpired() &&
           (secondThread == 0 || m_db->scalar(waiting, {{"ID", qint64(secondThread.load())}}).toInt() == 0))
        std::this_thread::yield();
    firstCommand.commit();
    second.join();

    EXPECT_EQ(secondError, QString());
    EXPECT_EQ(firstNumber, 1);
    EXPECT_EQ(secondNumber, 2);
    EXPECT_EQ(m_db->scalar(QStringLiteral("SELECT COUNT(DISTINCT NumDoc) FROM fatture")).toInt(), 2);
}

TEST_F(NumberingTest, TheLockIsReleasedWhenInsertingTheHeaderFails)
{
    Numbering numbering(*m_db);
    EXPECT_THROW(
        numbering.withNextNumber(
            Series::Fattura, QString(),
            [&](int) { return m_db->exec(QStringLiteral("INSERT INTO tabella_assente VALUES (1)")); }),
        DbError);
    auto other = company().newConnection();
    EXPECT_EQ(other
                  ->scalar(QStringLiteral(
                      "SELECT IS_FREE_LOCK(SHA1(CONCAT('carvendo.', DATABASE(), '.numero.fatture')))"))
                  .toInt(),
              1);
}

TEST_F(NumberingTest, BarcodesAdvanceTheirBaseWithTheCheckDigit)
{
    BarcodeIssuer issuer(*m_db);
    EXPECT_EQ(issuer.issue(BarcodeKind::Articolo), QStringLiteral("8005001002000"));
    EXPECT_EQ(contatore("BarcodeArticolo"), QStringLiteral("800500100200"));
    EXPECT_EQ(issuer.issue(BarcodeKind::Articolo), QStringLiteral("8005001002017"));

    EXPECT_EQ(issuer.issue(BarcodeKind::Cliente), QStringLiteral("70000010001001"));
    EXPECT_EQ(issuer.issue(BarcodeKind::Taglia), QStringLiteral("6401002001004"));
    EXPECT_EQ(issuer.issue(BarcodeKind::Lavoro).left(12), QStringLiteral("400009100020"));
}

TEST_F(NumberingTest, ACounterThatIsNotANumberIssuesNothing)
{
    m_db->exec(QStringLiteral("UPDATE contatori SET BarcodeArticolo = '80050A'"));
    try {
        BarcodeIssuer(*m_db).issue(BarcodeKind::Articolo);
        FAIL();
    } catch (const DbError& e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("Il contatore BarcodeArticolo contiene \"80050A\", che non è un numero "
                                 "intero: nessun barcode generato"));
    }
    EXPECT_EQ(contatore("BarcodeArticolo"), QStringLiteral("80050A"));
}

TEST_F(NumberingTest, ARepairTicketKeepsItsCodeUnlessAnotherTicketHoldsIt)
{
    BarcodeIssuer issuer(*m_db);
    EXPECT_EQ(issuer.repairTicketBarcode(QStringLiteral("1234567890128")), QStringLiteral("1234567890128"));
    EXPECT_EQ(contatore("BarcodeAss"), QString()) << "keeping a code draws nothing";
    m_db->exec(QStringLiteral("INSERT INTO riparazioni (numero, BarcodeFull) VALUES (1, '1234567890128')"));
    EXPECT_EQ(issuer.repairTicketBarcode(QStringLiteral("1234567890128")), QStringLiteral("2000001000007"));
    EXPECT_EQ(contatore("BarcodeAss"), QStringLiteral("200000100000"));
    EXPECT_EQ(issuer.repairTicketBarcode(QString()), QStringLiteral("2000001000014"))
        << "a ticket without a code gets one";
}

} // namespace
