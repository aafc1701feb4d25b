#pragma once

#include <QMetaType>
#include <QString>
#include <QStringView>

#include <compare>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <stdexcept>

namespace carvendo::core {

// How a value is brought to fewer decimals. Amounts use HalfEven; the fiscal receipt text rounds
// its prices to cents HalfAwayFromZero, as the till's currency formatting does.
enum class Rounding
{
    HalfEven,
    HalfAwayFromZero
};

// An amount of money (or any value the documents keep with four decimals): a signed count of
// ten-thousandths. Amounts are stored in double columns; bringing one back rounds half to even.
// Arithmetic that leaves the 64-bit range throws std::overflow_error: a wrong total must never
// be stored silently.
class Money
{
public:
    static constexpr qint64 Scale = 10000;

    constexpr Money() = default;
    static constexpr Money fromUnits(qint64 tenThousandths) { return Money(tenThousandths); }
    // Nearest ten-thousandth, ties to even, judged on the double's shortest decimal text: 2.675 gives
    // 2.6750 and 0.00015 gives 0.0002, though neither double is exact. NaN throws std::domain_error,
    // infinity or more than the range std::overflow_error.
    static Money fromDouble(double value);
    static Money fromInt(qint64 euros);
    // "1234.5", "-0.0001", "1.234,50" (Italian: '.' thousands, ',' decimals); more than four decimals
    // are rounded half to even. Empty or malformed text gives nullopt.
    static std::optional<Money> parse(QStringView text);

    constexpr qint64 units() const { return m_units; }
    double toDouble() const;
    QString toDecimalString() const; // "1234.5000": exact, for binding to SQL
    // For a field the operator edits: a decimal comma, no thousands dots, at least two decimals and
    // no more than the amount has ("1234,50", "1,2345").
    QString toEditText() const;

    // Italian display "#,##0.00": 1234.5 -> "1.234,50"; rounded to cents half to even
    // (1.005 -> "1,00", 1.015 -> "1,02").
    QString toItalian() const;
    // Rounded to cents, half to even (the value stays in ten-thousandths).
    Money roundedToCents() const { return roundedTo(2); }
    // Rounded to 0..4 decimals (the value stays in ten-thousandths).
    Money roundedTo(int decimals, Rounding rounding = Rounding::HalfEven) const;

    constexpr Money operator+(Money other) const { return Money(checkedAdd(m_units, other.m_units)); }
    constexpr Money operator-(Money other) const { return Money(checkedSub(m_units, other.m_units)); }
    constexpr Money operator-() const { return Money(checkedSub(0, m_units)); }
    Money& operator+=(Money other) { return *this = *this + other; }
    Money& operator-=(Money other) { return *this = *this - other; }

    // Product and quotient with another four-decimal value (a quantity, a percentage, a rate),
    // rounded to four decimals half to even. Division by zero throws std::domain_error.
    Money multipliedBy(Money factor) const;
    Money dividedBy(Money divisor) const;
    Money multipliedBy(qint64 factor) const;
    // value * percent / 100, rounded to four decimals half to even.
    Money percent(Money rate) const;

    constexpr auto operator<=>(const Money&) const = default;
    constexpr bool isZero() const { return m_units == 0; }
    constexpr bool isNegative() const { return m_units < 0; }

private:
    constexpr explicit Money(qint64 units) : m_units(units) {}
    static constexpr qint64 checkedAdd(qint64 a, qint64 b)
    {
        qint64 sum = 0;
        if (__builtin_add_overflow(a, b, &sum))
            throw std::overflow_error("Importo fuori dai limiti consentiti");
        return sum;
    }
    static constexpr qint64 checkedSub(qint64 a, qint64 b)
    {
        qint64 difference = 0;
        if (__builtin_sub_overflow(a, b, &difference))
            throw std::overflow_error("Importo fuori dai limiti consentiti");
        return difference;
    }
    qint64 m_units = 0;
};

// Quantities show with three decimals and a decimal comma: 2 -> "2,000", no thousands separator;
// rounded half to even on the shortest decimal text, as Money::fromDouble.
QString formatQuantity(double quantity);

// For test failure messages and logs: the exact decimal text.
std::ostream& operator<<(std::ostream& os, const Money& money);

} // namespace carvendo::core

Q_DECLARE_METATYPE(carvendo::core::Money)
