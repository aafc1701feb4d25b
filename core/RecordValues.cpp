#include "core/RecordValues.h"

#include "core/Db.h"
#include "core/Money.h"
#include "core/Rows.h"

#include <QDate>

#include <stdexcept>

namespace carvendo::core {

RecordValues::RecordValues(QList<RecordColumn> columns) : m_columns(std::move(columns))
{
    clear();
}

QList<RecordColumn> RecordValues::textColumns(const QStringList& names)
{
    QList<RecordColumn> columns;
    for (const QString& name : names)
        columns.append({name, ColumnKind::Text});
    return columns;
}

QStringList RecordValues::names() const
{
    QStringList out;
    for (const RecordColumn& known : m_columns)
        out << known.name;
    return out;
}

const RecordColumn* RecordValues::find(const QString& column) const
{
    for (const RecordColumn& known : m_columns)
        if (known.name.compare(column, Qt::CaseInsensitive) == 0)
            return &known;
    return nullptr;
}

const RecordColumn& RecordValues::column(const QString& column) const
{
    if (const RecordColumn* known = find(column))
        return *known;
    throw std::invalid_argument("unknown column: " + column.toStdString());
}

void RecordValues::clear()
{
    m_values.clear();
    for (const RecordColumn& known : m_columns)
        m_values.insert(known.name, normalized(known, QVariant()));
    m_saved = m_values;
}

void RecordValues::load(const Row& row)
{
    m_values.clear();
    for (const RecordColumn& known : m_columns)
        m_values.insert(known.name, normalized(known, row[known.name].variant()));
    m_saved = m_values;
}

QVariant RecordValues::value(const QString& column) const
{
    return m_values.value(this->column(column).name);
}

QVariant RecordValues::savedValue(const QString& column) const
{
    return m_saved.value(this->column(column).name);
}

bool RecordValues::set(const QString& column, const QVariant& value)
{
    const RecordColumn& known = this->column(column);
    const QVariant normal = normalized(known, value);
    QVariant& current = m_values[known.name];
    if (current == normal && current.isNull() == normal.isNull())
        return false;
    current = normal;
    return true;
}

void RecordValues::setStored(const QString& column, const QVariant& value)
{
    set(column, value);
    const QString name = this->column(column).name;
    m_saved[name] = m_values.value(name);
}

QStringList RecordValues::changedColumns() const
{
    QStringList changed;
    for (const RecordColumn& known : m_columns) {
        const QVariant& now = m_values[known.name];
        const QVariant& before = m_saved[known.name];
        if (!known.readOnly && (now != before || now.isNull() != before.isNull()))
            changed << known.name;
    }
    return changed;
}

QVariant RecordValues::normalized(const RecordColumn& column, const QVariant& value)
{
    const bool empty = value.isNull() || !value.isValid() ||
                       (value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty());
    switch (column.kind) {
    case ColumnKind::Text:
    case ColumnKind::Memo: {
        const QString text = value.toString();
        return column.maxLength > 0 ? text.left(column.maxLength) : text;
    }
    case ColumnKind::Integer:
        return empty ? QVariant() : QVariant(value.toLongLong());
    case ColumnKind::Money:
    case ColumnKind::Quantity:
        if (empty)
            return QVariant();
        if (value.userType() == qMetaTypeId<Money>())
            return value.value<Money>().toDouble();
        return Money::fromDouble(value.toDouble()).toDouble();
    case ColumnKind::Flag:
        return value.toBool();
    case ColumnKind::Date: {
        const QDate date = empty ? QDate() : value.toDate();
        return date.isValid() ? QVariant(date) : QVariant();
    }
    case ColumnKind::Blob: {
        const QByteArray bytes = value.toByteArray();
        return bytes.isEmpty() ? QVariant() : QVariant(bytes);
    }
    }
    return value;
}

bool writeChangedColumns(Db& db, const QString& table, const QString& keyColumn, const QVariant& id,
                         const RecordValues& record)
{
    const Params key{{QStringLiteral("IDRECORD"), id}};
    const QStringList changed = record.changedColumns();
    if (changed.isEmpty())
        return !db.query(QStringLiteral("SELECT 1 FROM `%1` WHERE `%2` = :IDRECORD").arg(table, keyColumn),
                         key)
                    .isEmpty();
    // Column names come from the card's fixed list; values are bound, by position in that list.
    QStringList assignments;
    Params params = key;
    for (int i = 0; i < changed.size(); ++i) {
        const QString parameter = QStringLiteral("V%1").arg(i);
        assignments << QStringLiteral("`%1` = :%2").arg(changed[i], parameter);
        params.insert(parameter, record.value(changed[i]));
    }
    // The connection counts matched rows, not changed ones: 0 means the row is gone.
    return db.exec(QStringLiteral("UPDATE `%1` SET %2 WHERE `%3` = :IDRECORD")
                       .arg(table, assignments.join(QStringLiteral(", ")), keyColumn),
                   params) > 0;
}

} // namespace carvendo::core
