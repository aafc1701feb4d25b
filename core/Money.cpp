#include "core/Money.h"

#include <QList>

#include <charconv>
#include <cmath>
#include <ostream>
#include <string>
#include <string_view>

namespace carvendo::core {

namespace {

__extension__ typedef __int128 Int128; // GCC/Clang: exact products of two 64-bit amounts

const char* const OutOfRange = "Importo fuori dai limiti consentiti";

qint64 toInt64(Int128 value)
{
    if (value > Int128(INT64_MAX) || value < Int128(INT64_MIN))
        throw std::overflow_error(OutOfRange);
    return qint64(value);
}

bool roundsUp(int firstDropped, bool restNonZero, bool keptIsOdd, Rounding rounding)
{
    if (firstDropped != 5)
        return firstDropped > 5;
    if (restNonZero)
        return true;
    return rounding == Rounding::HalfAwayFromZero || keptIsOdd;
}

// numerator / denominator rounded to an integer; negative values round like their magnitude, so
// -x always gives the opposite of x.
qint64 divideRounded(Int128 numerator, Int128 denominator, Rounding rounding = Rounding::HalfEven)
{
    const bool negative = (numerator < 0) != (denominator < 0);
    const Int128 n = numerator < 0 ? -numerator : numerator;
    const Int128 d = denominator < 0 ? -denominator : denominator;
    Int128 quotient = n / d;
    const Int128 twiceRemainder = (n % d) * 2;
    const bool tie = twiceRemainder == d;
    if (twiceRemainder > d || (tie && (rounding == Rounding::HalfAwayFromZero || quotient % 2 != 0)))
        ++quotient;
    return toInt64(negative ? -quotient : quotient);
}

// The unsigned decimal number digits × 10^exponent, rounded to a whole count of 10^-decimals.
// Works on the decimal text, so no binary fraction can push a tie either way.
std::optional<qint64> scaleDecimal(std::string_view digits, int exponent, int decimals, Rounding rounding)
{
    while (digits.size() > 1 && digits.front() == '0')
        digits.remove_prefix(1);
    const long shift = long(exponent) + decimals;
    const long keep = long(digits.size()) + std::min(shift, 0L);
    Int128 kept = 0;
    for (long i = 0; i < keep; ++i) {
        kept = kept * 10 + (digits[std::size_t(i)] - '0');
        if (kept > Int128(INT64_MAX))
            return std::nullopt;
    }
    for (long i = 0; i < shift; ++i) {
        kept *= 10;
        if (kept > Int128(INT64_MAX))
            return std::nullopt;
    }
    if (keep >= 0 && keep < long(digits.size())) {
        const std::string_view dropped = digits.substr(std::size_t(keep));
        const bool restNonZero = dropped.substr(1).find_first_not_of('0') != std::string_view::npos;
        if (roundsUp(dropped.front() - '0', restNonZero, kept % 2 != 0, rounding))
            ++kept;
    }
    // keep < 0: the value is below a tenth of the last kept decimal, so it rounds to zero.
    if (kept > Int128(INT64_MAX))
        return std::nullopt;
    return qint64(kept);
}

// Rounds a double to a count of 10^-decimals. The double is read as its shortest round-trip
// decimal text (2.675 reads "2.675", not 2.67499999...): amounts in the float columns were written
// from decimal values, and that text is the value that was meant.
std::optional<qint64> scaleDouble(double value, int decimals)
{
    if (!std::isfinite(value))
        return std::nullopt;
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value));
    if (error != std::errc())
        return std::nullopt;
    const std::string_view text(buffer, std::size_t(end - buffer));
    const std::size_t e = text.find('e');
    const std::string_view mantissa = text.substr(0, e);
    int exponent = 0;
    if (e != std::string_view::npos) {
        const std::string_view exponentText = text.substr(e + 1);
        const char* first = exponentText.data() + (exponentText.front() == '+' ? 1 : 0);
        std::from_chars(first, exponentText.data() + exponentText.size(), exponent);
    }
    std::string digits;
    const std::size_t dot = mantissa.find('.');
    if (dot == std::string_view::npos) {
        digits = mantissa;
    } else {
        digits = std::string(mantissa.substr(0, dot)) + std::string(mantissa.substr(dot + 1));
        exponent -= int(mantissa.size() - dot - 1);
    }
    const std::optional<qint64> scaled = scaleDecimal(digits, exponent, decimals, Rounding::HalfEven);
    if (!scaled)
        return std::nullopt;
    return std::signbit(value) ? -*scaled : *scaled;
}

bool isAsciiDigits(QStringView text)
{
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

// "1.234.567": groups of three after a first group of one to three digits.
bool isGroupedByThousands(QStringView text)
{
    const QList<QStringView> groups = text.split(u'.');
    for (qsizetype i = 0; i < groups.size(); ++i) {
        const qsizetype size = groups[i].size();
        const bool sizeOk = i == 0 ? size >= 1 && size <= 3 : size == 3;
        if (!sizeOk || !isAsciiDigits(groups[i]))
            return false;
    }
    return true;
}

QString groupThousands(quint64 value, QChar separator)
{
    QString digits = QString::number(value);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, separator);
    return digits;
}

QString formatFixed(qint64 scaled, int decimals, bool groupThousandsWithDots)
{
    quint64 power = 1;
    for (int i = 0; i < decimals; ++i)
        power *= 10;
    const quint64 magnitude = scaled < 0 ? 0 - quint64(scaled) : quint64(scaled);
    const quint64 whole = magnitude / power;
    const QString wholeText = groupThousandsWithDots ? groupThousands(whole, u'.') : QString::number(whole);
    const QString fraction = QString::number(magnitude % power).rightJustified(decimals, u'0');
    return (scaled < 0 ? QStringLiteral("-") : QString()) + wholeText + u',' + fraction;
}

} // namespace

Money Money::fromDouble(double value)
{
    if (std::isnan(value))
        throw std::domain_error("Valore non numerico");
    const std::optional<qint64> units = scaleDouble(value, 4);
    if (!units)
        throw std::overflow_error(OutOfRange);
    return Money(*units);
}

Money Money::fromInt(qint64 euros)
{
    qint64 units = 0;
    if (__builtin_mul_overflow(euros, Scale, &units))
        throw std::overflow_error(OutOfRange);
    return Money(units);
}

// Accepts "1234.5", "1.234,50", "-3", "+0,0001". With a comma, the comma is the decimal separator
// and dots may only group thousands; without one, a single dot is the decimal point ("1.234" is
// 1.234, as the server and the C locale write it) and several dots group thousands.
std::optional<Money> Money::parse(QStringView text)
{
    text = text.trimmed();
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text = text.mid(1);
    }
    QStringView whole = text;
    QStringView fraction;
    const qsizetype comma = text.indexOf(u',');
    const qsizetype dots = text.count(u'.');
    if (comma >= 0) {
        whole = text.left(comma);
        fraction = text.mid(comma + 1);
        if (dots > 0 && !isGroupedByThousands(whole))
            return std::nullopt;
    } else if (dots == 1) {
        const qsizetype dot = text.indexOf(u'.');
        whole = text.left(dot);
        fraction = text.mid(dot + 1);
    } else if (dots > 1 && !isGroupedByThousands(whole)) {
        return std::nullopt;
    }
    QString wholeDigits = whole.toString();
    wholeDigits.remove(u'.');
    if (wholeDigits.isEmpty() && fraction.isEmpty())
        return std::nullopt;
    if (!isAsciiDigits(wholeDigits) || !isAsciiDigits(fraction))
        return std::nullopt;
    const std::string digits = (wholeDigits + fraction.toString()).toStdString();
    const std::optional<qint64> units = scaleDecimal(digits, -int(fraction.size()), 4, Rounding::HalfEven);
    if (!units)
        return std::nullopt;
    return Money(negative ? -*units : *units);
}

double Money::toDouble() const
{
    return double(m_units) / double(Scale);
}

QString Money::toDecimalString() const
{
    return formatFixed(m_units, 4, false).replace(u',', u'.');
}

QString Money::toEditText() const
{
    QString text = toDecimalString();
    while (text.endsWith(u'0') && text.indexOf(u'.') < text.size() - 3)
        text.chop(1);
    return text.replace(u'.', u',');
}

QString Money::toItalian() const
{
    return formatFixed(roundedToCents().m_units / 100, 2, true);
}

Money Money::roundedTo(int decimals, Rounding rounding) const
{
    if (decimals < 0 || decimals > 4)
        throw std::invalid_argument("Money::roundedTo: da 0 a 4 decimali");
    qint64 step = 1;
    for (int i = decimals; i < 4; ++i)
        step *= 10;
    return Money(divideRounded(m_units, step, rounding) * step);
}

Money Money::multipliedBy(Money factor) const
{
    return Money(divideRounded(Int128(m_units) * factor.m_units, Scale));
}

Money Money::dividedBy(Money divisor) const
{
    if (divisor.m_units == 0)
        throw std::domain_error("Divisione per zero");
    return Money(divideRounded(Int128(m_units) * Scale, divisor.m_units));
}

Money Money::multipliedBy(qint64 factor) const
{
    qint64 units = 0;
    if (__builtin_mul_overflow(m_units, factor, &units))
        throw std::overflow_error(OutOfRange);
    return Money(units);
}

Money Money::percent(Money rate) const
{
    return Money(divideRounded(Int128(m_units) * rate.m_units, Int128(100) * Scale));
}

QString formatQuantity(double quantity)
{
    const std::optional<qint64> thousandths = scaleDouble(quantity, 3);
    if (!thousandths)
        return QString::number(quantity, 'f', 3).replace(u'.', u',');
    return formatFixed(*thousandths, 3, false);
}

std::ostream& operator<<(std::ostream& os, const Money& money)
{
    return os << money.toDecimalString().toStdString();
}

} // namespace carvendo::core
