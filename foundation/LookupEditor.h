#pragma once

#include "foundation/LookupTables.h"

#include <QObject>

#include <optional>

namespace carvendo::core {
class Dialogs;
class Session;
} // namespace carvendo::core

namespace carvendo::foundation {

// The logic of one editable list of a settings window: the rows of a lookup table, adding, changing
// a field in place and removing a row. Refusals and database failures are told to the operator;
// nothing half-written is left.
class LookupEditor : public QObject
{
    Q_OBJECT
public:
    LookupEditor(core::Db& db, Lookup lookup, const core::Session& session, core::Dialogs& dialogs,
                 QObject* parent = nullptr);

    Lookup lookup() const { return m_lookup; }
    const LookupTable& table() const { return lookupTable(m_lookup); }

    bool reload(); // false (and an error box) when the database fails
    const core::Rows& rows() const { return m_rows; }
    int rowCount() const { return m_rows.size(); }
    QVariant value(int row, const QString& column) const;
    QVariant keyAt(int row) const;
    int rowOfKey(const QVariant& key) const; // -1 when absent

    // What a column offers: its fixed list or the values of its source table.
    QStringList choices(const QString& column);

    // The new row's key, or nullopt when refused.
    std::optional<qint64> add(const QVariantMap& values);
    bool setValue(int row, const QString& column, const QVariant& value);
    // Needs `fullaccess` or `cancellazione`, and the operator's confirmation.
    bool remove(int row);

signals:
    void rowsChanged();

private:
    template <typename Command> bool attempt(Command&& command);

    Lookup m_lookup;
    LookupStore m_store;
    const core::Session& m_session;
    core::Dialogs& m_dialogs;
    core::Rows m_rows;
};

} // namespace carvendo::foundation
