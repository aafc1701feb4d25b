#include "pos/ReceiptFormat.h"
#include "pos/ReceiptLines.h"

#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace carvendo;

namespace {

core::Money money(const char* text)
{
    return *core::Money::parse(QString::fromLatin1(text));
}

// The golden receipts already print the ordinary prices, quantities and texts; here only the edges.
TEST(ReceiptFormat, PricesAreCentsHalvesAwayFromZeroKeepingTheThousandsDot)
{
    const struct
    {
        const char* amount;
        const char* printed;
    } cases[] = {{"0.145", "015"}, {"-0.125", "-013"}, {"1234567.891", "1.234.56789"}};
    for (const auto& c : cases)
        EXPECT_EQ(pos::receiptAmount(money(c.amount)), QString::fromLatin1(c.printed)) << c.amount;
}

TEST(ReceiptFormat, QuantitiesAreWholeHalvesToEven)
{
    EXPECT_EQ(pos::receiptQuantity(0.5), 0);
    EXPECT_EQ(pos::receiptQuantity(2.51), 3);
}

TEST(ReceiptFormat, TextsCannotBreakTheLineAndStayInTheDriverCodePage)
{
    EXPECT_EQ(pos::receiptText(u"Cover;rossa\r\nXL"), QStringLiteral("Cover rossa  XL"));
    EXPECT_EQ(pos::receiptText(u"Caffè € Łódź 😀"), QStringLiteral("Caffè € ?ód? ?"));
    EXPECT_EQ(pos::toWindows1252(QStringLiteral("è€")), QByteArray("\xE8\x80"));
}

TEST(ReceiptFormat, OnlyTheTenFiscalDepartmentsArePrinted)
{
    EXPECT_EQ(pos::fiscalDepartment(u"REPARTO1"), 1);
    EXPECT_EQ(pos::fiscalDepartment(u"reparto10  "), 10);
    for (const char16_t* other :
         {u"", u"REPARTO", u"REPARTO0", u"REPARTO01", u"REPARTO11", u" REPARTO1", u"ALIMENTARI"})
        EXPECT_FALSE(pos::fiscalDepartment(other).has_value()) << QString::fromUtf16(other).toStdString();
}

} // namespace
