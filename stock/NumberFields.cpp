#include "stock/NumberFields.h"

namespace carvendo::stock::NumberFields {

namespace {

std::optional<qint64> whole(const QString& text, qint64 largest)
{
    const std::optional<core::Money> number = amount(text);
    if (!number || number->units() % core::Money::Scale != 0)
        return std::nullopt;
    const qint64 value = number->units() / core::Money::Scale;
    if (value < 0 || value > largest)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<core::Money> amount(const QString& text)
{
    const QString trimmed = text.trimmed();
    return trimmed.isEmpty() ? core::Money() : core::Money::parse(trimmed);
}

std::optional<core::Money> cost(const QString& text)
{
    const std::optional<core::Money> number = amount(text);
    if (!number || number->isNegative())
        return std::nullopt;
    return number;
}

std::optional<int> percent(const QString& text)
{
    const std::optional<qint64> value = whole(text, 100);
    return value ? std::optional<int>(int(*value)) : std::nullopt;
}

std::optional<qint64> wholeNumber(const QString& text)
{
    return whole(text, largestWhole());
}

QString discountRefusal()
{
    return QStringLiteral("Sconto non valido: inserire un numero intero da 0 a 100");
}

QString vatRefusal()
{
    return QStringLiteral("Aliquota IVA non valida: inserire un numero intero da 0 a 100");
}

QString costRefusal()
{
    return QStringLiteral("Costo non valido: inserire un importo non negativo");
}

QString wholeNumberRefusal()
{
    return QStringLiteral("Valore non valido: inserire un numero intero da 0 a %1").arg(largestWhole());
}

QString amountRefusal()
{
    return QStringLiteral("Valore non valido: inserire un numero");
}

} // namespace carvendo::stock::NumberFields
