#include "stock/ItemCodes.h"

#include "core/Db.h"
#include "core/DbError.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

#include <deque>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class ItemCodesTest : public ct::CompanySuite<ItemCodesTest>
{
protected:
    void SetUp() override
    {
        db().exec(QStringLiteral("DELETE FROM articoli"));
        setCounter(QString());
    }

    void setCounter(const QString& base)
    {
        db().exec(QStringLiteral("UPDATE contatori SET BarcodeArticolo = :BASE"),
                  {{QStringLiteral("BASE"), base}});
    }
    QString counter()
    {
        return db().scalar(QStringLiteral("SELECT BarcodeArticolo FROM contatori")).toString();
    }

    void addItem(const QString& code, const QString& barcode)
    {
        db().exec(QStringLiteral("INSERT INTO articoli (CodArticolo, BarcodeFull) VALUES (:C, :B)"),
                  {{QStringLiteral("C"), code}, {QStringLiteral("B"), barcode}});
    }

    // Draws the characters of the given codes in turn, then fails the test.
    static stock::ItemCodes::RandomSource drawing(QStringList codes)
    {
        auto queue = std::make_shared<std::deque<int>>();
        for (const QString& code : codes)
            for (const QChar c : code)
                queue->push_back(int(stock::ItemCodes::alphabet().indexOf(c)));
        return [queue](int bound) {
            EXPECT_EQ(bound, 36);
            if (queue->empty()) {
                ADD_FAILURE() << "more draws than scripted";
                return 0;
            }
            const int next = queue->front();
            queue->pop_front();
            return next;
        };
    }
};

// The counter, its check digit and a counter that is no number are the numbering's own (NumberingTest);
// here, what the item card adds: its barcode standard and the codes items already hold.
using stock::ItemCodes;

TEST_F(ItemCodesTest, Ean8ItemsGetSevenDigitsAndTheEan8CheckDigit)
{
    ItemCodes codes(db(), {}, core::BarcodeStandard::Ean8);
    setCounter(QStringLiteral("1234566"));
    EXPECT_EQ(codes.newBarcode(), QStringLiteral("12345670"));
    EXPECT_EQ(counter(), QStringLiteral("1234567"));

    setCounter(QStringLiteral("41"));
    EXPECT_EQ(codes.newBarcode(), QStringLiteral("00000420")) << "a short start fills seven digits";
    setCounter(QString());
    EXPECT_EQ(codes.newBarcode(), QStringLiteral("20000004"));

    setCounter(QStringLiteral("9999999"));
    try {
        codes.newBarcode();
        FAIL() << "an eighth digit has no EAN-8";
    } catch (const core::Error& error) {
        EXPECT_EQ(
            error.message(),
            QStringLiteral("Il contatore dei barcode è arrivato a 10000000: con lo standard EAN 8 il "
                           "barcode di partenza può avere al massimo 7 cifre. Nessun barcode generato"));
        EXPECT_EQ(error.kind(), core::Error::Kind::Refusal);
    }
    EXPECT_EQ(counter(), QStringLiteral("9999999"));
}

TEST_F(ItemCodesTest, ATakenBarcodeIsSkippedAsOftenAsNeeded)
{
    addItem(QStringLiteral("A"), QStringLiteral("8005001002000"));
    addItem(QStringLiteral("B"), QStringLiteral("8005001002017"));
    addItem(QStringLiteral("C"), QStringLiteral("8005001002024"));
    EXPECT_EQ(ItemCodes(db()).newBarcode(), QStringLiteral("8005001002031"));
}

TEST_F(ItemCodesTest, NoFreeBarcodeLeavesTheCounterAlone)
{
    // Every barcode the next MaxTries bases give is held by an item.
    db().exec(QStringLiteral(
        "INSERT INTO articoli (BarcodeFull) "
        "SELECT CONCAT(b, (10 - ((0 + SUBSTR(b,2,1) + SUBSTR(b,4,1) + SUBSTR(b,6,1) + SUBSTR(b,8,1) "
        "+ SUBSTR(b,10,1) + SUBSTR(b,12,1)) * 3 + SUBSTR(b,1,1) + SUBSTR(b,3,1) + SUBSTR(b,5,1) "
        "+ SUBSTR(b,7,1) + SUBSTR(b,9,1) + SUBSTR(b,11,1)) % 10) % 10) "
        "FROM (SELECT CAST(500000000001 + seq AS CHAR) AS b FROM seq_0_to_999) bases"));
    setCounter(QStringLiteral("500000000000"));
    EXPECT_EQ(ItemCodes(db()).newBarcode(), std::nullopt);
    EXPECT_EQ(counter(), QStringLiteral("500000000000"));

    db().exec(QStringLiteral("DELETE FROM articoli WHERE BarcodeFull = '5000000010004'"));
    EXPECT_EQ(ItemCodes(db()).newBarcode(), QStringLiteral("5000000010004"))
        << "the last of the thousand is free";
}

TEST_F(ItemCodesTest, ATakenCodeIsDrawnAgainUntilTheLastTry)
{
    addItem(QStringLiteral("AB12CD34"), {});
    addItem(QStringLiteral("ZZZZZZZZ"), {});
    ItemCodes codes(
        db(), drawing({QStringLiteral("AB12CD34"), QStringLiteral("ZZZZZZZZ"), QStringLiteral("1234567Z")}));
    EXPECT_EQ(codes.newCode(), QStringLiteral("1234567Z"));

    // Index 9 is '0': every draw makes the taken "00000000", and after the last try there is none.
    addItem(QStringLiteral("00000000"), {});
    EXPECT_EQ(ItemCodes(db(), [](int) { return 9; }).newCode(), std::nullopt);
}

} // namespace
