#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <optional>

namespace carvendo::core {

// Cells of a grid the operator changed and has not saved yet: for each row (by its key) the new
// value of each changed column. The grid shows them over the stored values; its "Salva" hands them
// to the logic, which checks them and writes all of them or none.
class RowEdits
{
public:
    void set(qint64 key, const QString& column, const QVariant& value)
    {
        if (!m_keys.contains(key))
            m_keys.append(key);
        m_rows[key].insert(column, value);
    }

    std::optional<QVariant> value(qint64 key, const QString& column) const
    {
        const auto row = m_rows.constFind(key);
        if (row == m_rows.constEnd() || !row->contains(column))
            return std::nullopt;
        return row->value(column);
    }

    bool isEmpty() const { return m_keys.isEmpty(); }
    void clear()
    {
        m_keys.clear();
        m_rows.clear();
    }
    // Rows in the order they were first edited, and the changed columns of one of them.
    const QList<qint64>& keys() const { return m_keys; }
    QVariantMap row(qint64 key) const { return m_rows.value(key); }

private:
    QList<qint64> m_keys;
    QHash<qint64, QVariantMap> m_rows;
};

// Where a refused edit is, so the grid can put the cursor on it.
struct EditedCell
{
    qint64 key = 0;
    QString column{};
};

} // namespace carvendo::core
