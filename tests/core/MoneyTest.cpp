#include "core/Money.h"

#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using carvendo::core::Money;
using carvendo::core::Rounding;

namespace {

Money units(qint64 tenThousandths)
{
    return Money::fromUnits(tenThousandths);
}
Money parsed(const char* text)
{
    return Money::parse(QString::fromUtf8(text)).value();
}

// To the nearest ten-thousandth, ties to even (negative ties: EveryTieGoesToTheEvenNeighbour).
TEST(Money, FromDoubleRoundsToTheNearestTenThousandth)
{
    const std::pair<double, qint64> cases[] = {
        {1.23456, 12346},
        {1.234550001, 12346},
        {0.1 + 0.2, 3000},
        {-0.0, 0},
        // stored as 2.67499999999999982236431605997495353221893310546875
        {2.675, 26750},
        {900000000000000.0, 9000000000000000000}};
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(Money::fromDouble(value).units(), expected) << value;
}

TEST(Money, FromDoubleRefusesWhatItCannotHold)
{
    EXPECT_THROW(Money::fromDouble(std::numeric_limits<double>::quiet_NaN()), std::domain_error);
    EXPECT_THROW(Money::fromDouble(std::numeric_limits<double>::infinity()), std::overflow_error);
    EXPECT_THROW(Money::fromDouble(-1e15), std::overflow_error);
}

// Every amount of the first ten euros, both signs, comes back from its double unchanged.
TEST(Money, EveryFourDecimalAmountSurvivesTheFloatColumn)
{
    for (qint64 u = -100000; u <= 100000; ++u)
        ASSERT_EQ(Money::fromDouble(units(u).toDouble()).units(), u);
}

// Every tie at the fifth decimal below one euro goes to the even neighbour, as a double and as text.
TEST(Money, EveryTieGoesToTheEvenNeighbour)
{
    for (qint64 k = 0; k < 10000; ++k) {
        const QString text = QStringLiteral("0.%1").arg(k * 10 + 5, 5, 10, QChar(u'0'));
        const qint64 even = k % 2 == 0 ? k : k + 1;
        ASSERT_EQ(Money::fromDouble(text.toDouble()).units(), even) << text.toStdString();
        ASSERT_EQ(Money::parse(text)->units(), even) << text.toStdString();
        ASSERT_EQ(Money::fromDouble(-text.toDouble()).units(), -even) << text.toStdString();
    }
}

TEST(Money, ParseReadsPlainAndItalianNumbers)
{
    const std::pair<const char*, qint64> cases[] = {
        {"1234.5", 12345000}, {"1.234,50", 12345000},     {"+2", 20000},
        {" 7,5 ", 75000},     {"1.234.567", 12345670000}, {"1.234", 12340},
        {",5", 5000},         {"-0,00025", -2},           {"1.000.000,9999", 10000009999},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(parsed(text).units(), expected) << text;
}

TEST(Money, ParseRejectsMalformedText)
{
    const char* const rejected[] = {"", "abc", "12.34,5", "1 234", "1e5", "99999999999999999999"};
    for (const char* text : rejected)
        EXPECT_FALSE(Money::parse(QString::fromUtf8(text)).has_value()) << text;
}

TEST(Money, ItalianDisplayRoundsToCentsHalfToEven)
{
    const std::pair<const char*, const char*> cases[] = {
        {"1.005", "1,00"}, {"1.015", "1,02"}, {"-0.004", "0,00"}, {"999.995", "1.000,00"}, {"0.0051", "0,01"},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(parsed(value).toItalian(), QString::fromUtf8(expected)) << value;
}

TEST(Money, DecimalTextIsExactForBinding)
{
    EXPECT_EQ(parsed("1234.5").toDecimalString(), "1234.5000");
    EXPECT_EQ(units(1).toDecimalString(), "0.0001");
    EXPECT_EQ(units(std::numeric_limits<qint64>::min()).toDecimalString(), "-922337203685477.5808");
    // What an edited field shows: no thousands dots, two decimals at least, four at most.
    EXPECT_EQ(parsed("1234.5").toEditText(), "1234,50");
    EXPECT_EQ(parsed("1.2345").toEditText(), "1,2345");
    EXPECT_EQ(parsed("-0.001").toEditText(), "-0,001");
}

TEST(Money, RoundingToFewerDecimals)
{
    EXPECT_EQ(parsed("12.345").roundedToCents(), parsed("12.34"));
    EXPECT_EQ(parsed("-12.345").roundedTo(2, Rounding::HalfAwayFromZero), parsed("-12.35"));
    EXPECT_EQ(parsed("2.5").roundedTo(0), parsed("2"));
    EXPECT_THROW(parsed("1").roundedTo(5), std::invalid_argument);
}

TEST(Money, ProductsRoundHalfToEvenSymmetrically)
{
    EXPECT_EQ(units(1).multipliedBy(parsed("0.5")), units(0));
    EXPECT_EQ(units(3).dividedBy(parsed("-2")), units(-2));
    EXPECT_EQ(units(5).percent(parsed("10")), units(0));  // 0.00005
    EXPECT_EQ(units(15).percent(parsed("10")), units(2)); // 0.00015

    for (qint64 a = -3000; a <= 3000; a += 7) {
        for (const char* factor : {"0.5", "1.22", "0.3333", "-2.5", "100"}) {
            const Money f = parsed(factor);
            ASSERT_EQ(units(-a).multipliedBy(f), -units(a).multipliedBy(f)) << a << " x " << factor;
            ASSERT_EQ(units(-a).dividedBy(f), -units(a).dividedBy(f)) << a << " / " << factor;
            ASSERT_EQ(units(-a).percent(f), -units(a).percent(f)) << a << " % " << factor;
        }
    }
}

TEST(Money, NoSilentOverflow)
{
    const Money largest = units(std::numeric_limits<qint64>::max());
    const Money smallest = units(std::numeric_limits<qint64>::min());
    EXPECT_THROW(largest + units(1), std::overflow_error);
    EXPECT_THROW(-smallest, std::overflow_error);
    Money total = largest;
    EXPECT_THROW(total += units(1), std::overflow_error);
    EXPECT_EQ(total, largest);
    EXPECT_THROW(largest.multipliedBy(parsed("2")), std::overflow_error);
    EXPECT_THROW(largest.dividedBy(parsed("0.5")), std::overflow_error);
    EXPECT_THROW(Money::fromInt(1000000000000000), std::overflow_error);
    EXPECT_THROW(parsed("1").dividedBy(Money()), std::domain_error);
    // A 128-bit intermediate keeps a large product exact when the result fits.
    EXPECT_EQ(parsed("90000000000").multipliedBy(parsed("10000")), parsed("900000000000000"));
}

} // namespace
