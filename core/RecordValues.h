#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

namespace carvendo::core {

class Row;

// The values a card edits, over a fixed list of columns as the table spells them, beside the values
// last read or written, so the card knows whether it holds unsaved changes. Columns are found
// ignoring letter case; nothing outside the list reaches the SQL a card builds from it.
struct RecordValues
{
    explicit RecordValues(QStringList columnList);

    QStringList columns;
    QVariantMap values;
    QVariantMap saved;

    void clear();              // every column null, nothing to save
    void load(const Row& row); // every column from a row holding them all, nothing to save
    void markSaved() { saved = values; }
    bool isModified() const { return values != saved; }

    // The column as the table spells it; throws std::invalid_argument for one outside the list.
    QString canonical(const QString& column) const;
    QVariant value(const QString& column) const { return values.value(canonical(column)); }
    QString text(const QString& column) const { return value(column).toString().trimmed(); }
    // False when the column held that value already (a null and an empty text differ).
    bool set(const QString& column, const QVariant& value);
};

} // namespace carvendo::core
