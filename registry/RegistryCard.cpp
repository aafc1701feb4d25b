#include "registry/RegistryCard.h"

#include "core/Db.h"
#include "core/Dialogs.h"
#include "registry/FiscalChecks.h"
#include "registry/RegistryKind.h"

#include <QUrl>

namespace carvendo::registry {

RegistryCard::RegistryCard(const RegistryKind& kind, QList<core::RecordColumn> columns, core::Db& db,
                           core::Dialogs& dialogs, QObject* parent)
    : QObject(parent), m_db(db), m_dialogs(dialogs), m_record(std::move(columns)), m_kind(kind)
{
}

void RegistryCard::openNew()
{
    m_id = 0;
    m_record.clear();
    fillNew();
    m_record.markSaved();
    emit changed();
}

bool RegistryCard::open(int id)
{
    // Table, key and column names come from the registry and the card, never from typed text.
    const core::Rows rows =
        m_db.query(QStringLiteral("SELECT * FROM %1 WHERE %2 = :ID").arg(m_kind.table, m_kind.key),
                   {{QStringLiteral("ID"), id}});
    if (rows.isEmpty()) {
        m_dialogs.warning(m_kind.goneMessage);
        return false;
    }
    m_id = id;
    m_record.load(rows[0]);
    emit changed();
    return true;
}

QVariant RegistryCard::value(const QString& column) const
{
    return m_record.value(column);
}

void RegistryCard::setValue(const QString& column, const QVariant& value)
{
    if (m_record.set(column, value))
        emit changed();
}

void RegistryCard::fieldLeft(const QString& column)
{
    const QString key = m_record.column(column).name;
    const QString typed = m_record.text(key);
    if (typed.isEmpty())
        return;
    if (key == m_kind.taxCodeColumn)
        m_dialogs.information(checkCodiceFiscale(typed).message);
    else if (key == m_kind.vatColumn)
        m_dialogs.information(checkPartitaIva(typed).message);
    else if (m_kind.emailColumns.contains(key))
        m_dialogs.information(checkEmail(typed).message);
}

bool RegistryCard::save()
{
    if (!mayBeSaved())
        return false;
    if (isNew()) {
        // The card takes the new id only once the row is there for good.
        int newId = 0;
        const QVariant code = insertWithNewCode([&](const QVariant& c) { newId = insertRow(c); });
        m_id = newId;
        m_record.set(m_kind.codeColumn, code);
    } else {
        core::Transaction transaction(m_db);
        if (!core::writeChangedColumns(m_db, m_kind.table, m_kind.key, m_id, m_record)) {
            m_dialogs.error(m_kind.goneOnSaveMessage);
            return false;
        }
        transaction.commit();
    }
    m_record.markSaved();
    emit changed();
    emit saved(m_id);
    return true;
}

int RegistryCard::insertRow(const QVariant& code)
{
    const QStringList columns = m_record.names();
    QStringList holders;
    core::Params params;
    for (const QString& column : columns) {
        holders << QLatin1Char(':') + column;
        params.insert(column, column == m_kind.codeColumn ? code : m_record.value(column));
    }
    m_db.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(m_kind.table, columns.join(QStringLiteral(", ")), holders.join(QStringLiteral(", "))),
              params);
    return int(m_db.lastInsertId());
}

bool RegistryCard::mayLeave()
{
    return !isModified() ||
           m_dialogs.confirm(QStringLiteral(
               "Eventuali modifiche effettuate non saranno salvate. Vuoi uscire senza salvare ?"));
}

QString RegistryCard::exitCaption() const
{
    return isNew() ? QStringLiteral("Annulla") : QStringLiteral("Esci");
}

QString RegistryCard::mapSearchUrl() const
{
    QStringList parts;
    for (const QString& column : m_kind.addressColumns)
        parts << m_record.value(column).toString();
    return registry::mapSearchUrl(parts);
}

QString mapSearchUrl(const QStringList& addressParts)
{
    QStringList parts;
    for (const QString& part : addressParts)
        if (!part.trimmed().isEmpty())
            parts << part.trimmed();
    return QStringLiteral("https://www.openstreetmap.org/search?query=") +
           QString::fromLatin1(QUrl::toPercentEncoding(parts.join(QStringLiteral(", "))));
}

} // namespace carvendo::registry
