#include "schema/ColumnType.h"

#include <QRegularExpression>

#include <array>

namespace carvendo::schema {

namespace {

struct PlainType
{
    const char* name;
    ColumnType::Kind kind;
};

constexpr std::array plainTypes{
    PlainType{"integer", ColumnType::Kind::Integer},
    PlainType{"64-bit integer", ColumnType::Kind::BigInteger},
    PlainType{"small integer", ColumnType::Kind::SmallInteger},
    PlainType{"float", ColumnType::Kind::Float},
    PlainType{"boolean", ColumnType::Kind::Boolean},
    PlainType{"date", ColumnType::Kind::Date},
    PlainType{"datetime", ColumnType::Kind::DateTime},
    PlainType{"time", ColumnType::Kind::Time},
    PlainType{"memo", ColumnType::Kind::Memo},
    PlainType{"blob", ColumnType::Kind::Blob},
};

// The longest VARCHAR a latin1 row can hold.
constexpr int maxStringLength = 65532;
constexpr int maxDecimalPrecision = 65;
constexpr int maxDecimalScale = 30;
// LONGTEXT and LONGBLOB hold up to 4 GiB.
constexpr qint64 longColumnLength = 4294967295LL;

} // namespace

std::optional<ColumnType> ColumnType::parse(QStringView text)
{
    const QString written = text.toString().simplified();
    for (const PlainType& plain : plainTypes) {
        if (written == QLatin1String(plain.name))
            return of(plain.kind);
    }

    static const QRegularExpression stringPattern(QStringLiteral(R"(^string\((\d{1,5})\)$)"));
    if (const auto match = stringPattern.match(written); match.hasMatch()) {
        const int length = match.captured(1).toInt();
        if (length < 1 || length > maxStringLength)
            return std::nullopt;
        return string(length);
    }

    static const QRegularExpression decimalPattern(QStringLiteral(R"(^decimal\((\d{1,2}), ?(\d{1,2})\)$)"));
    if (const auto match = decimalPattern.match(written); match.hasMatch()) {
        const int precision = match.captured(1).toInt();
        const int scale = match.captured(2).toInt();
        if (precision < 1 || precision > maxDecimalPrecision || scale > maxDecimalScale || scale > precision)
            return std::nullopt;
        return decimal(precision, scale);
    }
    return std::nullopt;
}

bool ColumnType::isInteger() const
{
    return m_kind == Kind::Integer || m_kind == Kind::BigInteger || m_kind == Kind::SmallInteger;
}

bool ColumnType::isNumeric() const
{
    return isInteger() || m_kind == Kind::Float || m_kind == Kind::Decimal || m_kind == Kind::Boolean;
}

QString ColumnType::name() const
{
    switch (m_kind) {
    case Kind::String:
        return QStringLiteral("string(%1)").arg(m_size);
    case Kind::Decimal:
        return QStringLiteral("decimal(%1,%2)").arg(m_size).arg(m_scale);
    default:
        break;
    }
    for (const PlainType& plain : plainTypes) {
        if (plain.kind == m_kind)
            return QLatin1String(plain.name);
    }
    return {};
}

QString ColumnType::sqlType() const
{
    switch (m_kind) {
    case Kind::Integer:
        return QStringLiteral("int(11)");
    case Kind::BigInteger:
        return QStringLiteral("bigint(20)");
    case Kind::SmallInteger:
        return QStringLiteral("smallint(6)");
    case Kind::Float:
        return QStringLiteral("double");
    case Kind::Decimal:
        return QStringLiteral("decimal(%1,%2)").arg(m_size).arg(m_scale);
    case Kind::Boolean:
        return QStringLiteral("tinyint(1)");
    case Kind::Date:
        return QStringLiteral("date");
    case Kind::DateTime:
        return QStringLiteral("datetime");
    case Kind::Time:
        return QStringLiteral("time");
    case Kind::String:
        return QStringLiteral("varchar(%1)").arg(m_size);
    case Kind::Memo:
        return QStringLiteral("longtext");
    case Kind::Blob:
        return QStringLiteral("longblob");
    }
    return {};
}

QString ColumnType::sqlDefinition(bool isKey) const
{
    if (isKey)
        return sqlType() + QStringLiteral(" NOT NULL AUTO_INCREMENT");
    if (m_kind == Kind::Decimal && m_scale > 0)
        return sqlType() + QStringLiteral(" DEFAULT 0.") + QString(m_scale, QLatin1Char('0'));
    if (isNumeric())
        return sqlType() + QStringLiteral(" DEFAULT 0");
    return sqlType() + QStringLiteral(" DEFAULT NULL");
}

InformationSchemaType ColumnType::informationSchema() const
{
    InformationSchemaType reported;
    reported.dataType = sqlType().section(QLatin1Char('('), 0, 0);
    switch (m_kind) {
    case Kind::Decimal:
        reported.numericPrecision = m_size;
        reported.numericScale = m_scale;
        break;
    case Kind::Boolean:
        reported.columnType = sqlType();
        break;
    case Kind::String:
        reported.characterMaximumLength = m_size;
        break;
    case Kind::Memo:
    case Kind::Blob:
        reported.characterMaximumLength = longColumnLength;
        break;
    default:
        break;
    }
    return reported;
}

} // namespace carvendo::schema
