#include "core/RecordValues.h"

#include "core/Rows.h"

#include <stdexcept>

namespace carvendo::core {

RecordValues::RecordValues(QStringList columnList) : columns(std::move(columnList))
{
    clear();
}

void RecordValues::clear()
{
    values.clear();
    for (const QString& column : columns)
        values.insert(column, QVariant());
    saved = values;
}

void RecordValues::load(const Row& row)
{
    values.clear();
    for (const QString& column : columns)
        values.insert(column, row[column].variant());
    saved = values;
}

QString RecordValues::canonical(const QString& column) const
{
    for (const QString& known : columns)
        if (known.compare(column, Qt::CaseInsensitive) == 0)
            return known;
    throw std::invalid_argument("unknown column: " + column.toStdString());
}

bool RecordValues::set(const QString& column, const QVariant& value)
{
    const QString key = canonical(column);
    const QVariant& current = values[key];
    if (current == value && current.isNull() == value.isNull())
        return false;
    values[key] = value;
    return true;
}

} // namespace carvendo::core
