#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

namespace carvendo::core {

class Db;
class Row;

// How a card holds a column: the kind decides how a typed or read value is normalised, so that a
// value read from the table and the same value typed compare equal.
enum class ColumnKind
{
    Text,
    Memo,
    Integer,  // whole number
    Money,    // four-decimal amount or decimal percent
    Quantity, // stock figures
    Flag,
    Date,
    Blob
};

struct RecordColumn
{
    QString name; // as the table spells it
    ColumnKind kind = ColumnKind::Text;
    int maxLength = 0;     // a longer text is cut; 0 for no limit
    bool readOnly = false; // the key and figures that other commands own: never written by the card
};

// The values a card edits, over a fixed list of columns, beside the values last read or written,
// so the card knows what it changed. Columns are found ignoring letter case; nothing outside the
// list reaches the SQL a card builds from it.
class RecordValues
{
public:
    explicit RecordValues(QList<RecordColumn> columns);
    // Columns of text, named as the table spells them.
    static QList<RecordColumn> textColumns(const QStringList& names);

    const QList<RecordColumn>& columns() const { return m_columns; }
    QStringList names() const;
    const RecordColumn* find(const QString& column) const; // nullptr when unknown
    // The column as the table spells it; throws std::invalid_argument for one outside the list.
    const RecordColumn& column(const QString& column) const;

    void clear();              // every column null, nothing to save
    void load(const Row& row); // every column from a row holding them all, nothing to save
    void markSaved() { m_saved = m_values; }
    void discardChanges() { m_values = m_saved; }
    bool isModified() const { return m_values != m_saved; }

    const QVariantMap& values() const { return m_values; }
    QVariant value(const QString& column) const;
    QVariant savedValue(const QString& column) const;
    QString text(const QString& column) const { return value(column).toString().trimmed(); }
    // Normalised to the column's kind. False when the column held that value already.
    bool set(const QString& column, const QVariant& value);
    // A value a command stored at once: it is both the card's and the saved one.
    void setStored(const QString& column, const QVariant& value);
    // The writable columns whose value differs from the saved one, in column order.
    QStringList changedColumns() const;

    static QVariant normalized(const RecordColumn& column, const QVariant& value);

private:
    QList<RecordColumn> m_columns;
    QVariantMap m_values;
    QVariantMap m_saved;
};

// Writes the columns the card changed, and only those, to the row whose key column holds id, so
// what another workstation wrote meanwhile in other columns stays. False when the row is not
// there any more (nothing written then). Table and key are the caller's fixed names.
bool writeChangedColumns(Db& db, const QString& table, const QString& keyColumn, const QVariant& id,
                         const RecordValues& record);

} // namespace carvendo::core
