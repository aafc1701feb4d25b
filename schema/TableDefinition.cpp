#include "schema/TableDefinition.h"

namespace carvendo::schema {

QString ColumnDefinition::sqlDefinition() const
{
    if (defaultLiteral.isEmpty() || isKey)
        return type.sqlDefinition(isKey);
    return type.sqlType() + QStringLiteral(" DEFAULT ") + defaultLiteral;
}

namespace {

constexpr int maxIdentifierLength = 64;

// InnoDB keeps a variable-length column off-page only when it may exceed 255 bytes.
constexpr int maxInlineVariableBytes = 255;
constexpr int offPagePointerBytes = 20;
// Record header, transaction id and roll pointer of every row.
constexpr int rowOverheadBytes = 5 + 6 + 7;

int inlineBytes(const ColumnType& type)
{
    switch (type.kind()) {
    case ColumnType::Kind::Integer:
        return 4;
    case ColumnType::Kind::BigInteger:
    case ColumnType::Kind::Float:
        return 8;
    case ColumnType::Kind::SmallInteger:
        return 2;
    case ColumnType::Kind::Decimal:
        return (type.precision() + 8) / 9 * 4; // four bytes per nine digits, rounded up
    case ColumnType::Kind::Boolean:
        return 1;
    case ColumnType::Kind::Date:
    case ColumnType::Kind::Time:
        return 3;
    case ColumnType::Kind::DateTime:
        return 5;
    case ColumnType::Kind::String: // latin1: one byte a character, plus its length
        return type.length() > maxInlineVariableBytes ? offPagePointerBytes + 2 : type.length() + 1;
    case ColumnType::Kind::Memo:
    case ColumnType::Kind::Blob:
        return offPagePointerBytes + 2;
    }
    return 0;
}

} // namespace

QString IndexDefinition::name() const
{
    QString name = unique ? QStringLiteral("ux") : QStringLiteral("ix");
    for (const QString& column : columns) {
        name += QLatin1Char('_');
        for (const QChar c : column)
            name += (c.isLetterOrNumber() && c.unicode() < 128) ? c : QLatin1Char('_');
    }
    return name.left(maxIdentifierLength);
}

const ColumnDefinition* TableDefinition::column(QStringView columnName) const
{
    for (const ColumnDefinition& column : columns) {
        if (column.name.compare(columnName, Qt::CaseInsensitive) == 0)
            return &column;
    }
    return nullptr;
}

const ColumnDefinition* TableDefinition::key() const
{
    for (const ColumnDefinition& column : columns) {
        if (column.isKey)
            return &column;
    }
    return nullptr;
}

int TableDefinition::fullRowInlineBytes() const
{
    int bytes = rowOverheadBytes + (int(columns.size()) + 7) / 8; // plus the NULL flags
    for (const ColumnDefinition& column : columns)
        bytes += inlineBytes(column.type);
    return bytes;
}

QStringList TableDefinition::columnNames() const
{
    QStringList names;
    names.reserve(columns.size());
    for (const ColumnDefinition& column : columns)
        names << column.name;
    return names;
}

} // namespace carvendo::schema
