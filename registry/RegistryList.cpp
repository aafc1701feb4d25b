#include "registry/RegistryList.h"

#include "core/Dialogs.h"
#include "core/GridLayoutFile.h"
#include "core/Navigator.h"
#include "core/Paths.h"
#include "core/Session.h"

#include <stdexcept>

namespace carvendo::registry {

QString containsPattern(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size() + 2);
    escaped += u'%';
    for (QChar c : text) {
        if (c == u'!' || c == u'%' || c == u'_')
            escaped += u'!';
        escaped += c;
    }
    escaped += u'%';
    return escaped;
}

// ---- RegistrySearch ----

QString RegistrySearch::whereClause() const
{
    switch (m_mode) {
    case SearchMode::All:
        return {};
    case SearchMode::Name:
        return QStringLiteral(" WHERE %1 LIKE :TESTO ESCAPE '!'").arg(m_kind.nameColumn);
    case SearchMode::TaxCode:
        return QStringLiteral(" WHERE %1 = :TESTO").arg(m_kind.taxCodeColumn);
    case SearchMode::VatNumber:
        return QStringLiteral(" WHERE %1 = :TESTO").arg(m_kind.vatColumn);
    }
    return {};
}

core::Params RegistrySearch::whereParams() const
{
    switch (m_mode) {
    case SearchMode::All:
        return {};
    case SearchMode::Name:
        return {{QStringLiteral("TESTO"), containsPattern(m_text)}};
    case SearchMode::TaxCode:
    case SearchMode::VatNumber:
        return {{QStringLiteral("TESTO"), m_text.trimmed()}};
    }
    return {};
}

core::Rows RegistrySearch::fetch(int limit)
{
    const QString order = QStringLiteral(" ORDER BY %1, %2").arg(m_kind.nameColumn, m_kind.key);
    core::Params params = whereParams();
    // The page's keys first, from the name alone (an index on the name answers it without reading
    // the rows), then those rows.
    params.insert(QStringLiteral("QUANTI"), limit);
    QStringList columns;
    for (const QString& column : m_kind.gridColumns)
        columns << QStringLiteral("r.") + column;
    return m_db.query(
        QStringLiteral("SELECT %1 FROM %2 r JOIN (SELECT %3 FROM %2%4%5 LIMIT :QUANTI) AS pagina "
                       "ON r.%3 = pagina.%3 ORDER BY r.%6, r.%3")
            .arg(columns.join(QStringLiteral(", ")), m_kind.table, m_kind.key, whereClause(), order,
                 m_kind.nameColumn),
        params);
}

void RegistrySearch::load(int limit)
{
    // One row more than asked tells whether another page follows.
    core::Rows fetched = fetch(limit + 1);
    m_hasMore = fetched.size() > limit;
    m_rows = m_hasMore ? fetched.head(limit) : fetched;
    m_loaded = limit;
}

void RegistrySearch::search(SearchMode mode, const QString& text)
{
    m_mode = text.trimmed().isEmpty() ? SearchMode::All : mode;
    m_text = m_mode == SearchMode::All ? QString() : text;
    load(m_pageSize);
}

bool RegistrySearch::loadMore()
{
    if (!m_hasMore)
        return false;
    load(m_loaded + m_pageSize);
    return true;
}

void RegistrySearch::refresh()
{
    load(qMax(m_loaded, m_pageSize));
}

core::Rows RegistrySearch::allRows(core::Db& db) const
{
    return db.query(QStringLiteral("SELECT %1 FROM %2%3 ORDER BY %4, %5")
                        .arg(m_kind.gridColumns.join(QStringLiteral(", ")), m_kind.table, whereClause(),
                             m_kind.nameColumn, m_kind.key),
                    whereParams());
}

// ---- deleting ----

void deleteRegistryRecord(const RegistryKind& kind, core::Db& db, const QVariant& key,
                          WebAccounts& webAccounts)
{
    // The customer goes inside a transaction that commits only once the exchange has dropped the
    // account: a refused delete or an unreachable exchange leaves both as they were.
    core::Transaction transaction(db);
    db.exec(QStringLiteral("DELETE FROM %1 WHERE %2 = :ID").arg(kind.table, kind.key),
            {{QStringLiteral("ID"), key}});
    if (kind.isCustomers() && webAccounts.isConfigured())
        webAccounts.remove(key.toInt());
    transaction.commit();
}

// ---- RegistryList ----

RegistryList::RegistryList(const RegistryKind& kind, core::Db& db, const core::Session& session,
                           const core::Paths& paths, core::Dialogs& dialogs, core::Navigator& navigator)
    : m_kind(kind), m_db(db), m_session(session), m_paths(paths), m_dialogs(dialogs), m_navigator(navigator),
      m_search(kind, db), m_export(dialogs, db)
{
}

void RegistryList::openRecord(const QVariant& key)
{
    if (key.isNull() || !key.isValid())
        return;
    m_navigator.open(m_kind.cardWindow, key, m_kind.listWindow);
    m_search.refresh();
}

void RegistryList::newRecord()
{
    m_navigator.open(m_kind.cardWindow, QVariant(), m_kind.listWindow);
    m_search.refresh();
}

bool RegistryList::deleteRecord(const QVariant& key)
{
    if (key.isNull() || !key.isValid())
        return false;
    if (!core::requirePrivilege(m_session, core::Privilege::Cancellazione, m_dialogs))
        return false;
    if (!m_dialogs.confirm(m_kind.deleteQuestion))
        return false;
    deleteRegistryRecord(m_kind, m_db, key, m_webAccounts);
    m_search.refresh();
    return true;
}

void RegistryList::runExportsWith(const core::ConnectionSettings& settings, core::JobRunner runner)
{
    m_export.runJobsWith(std::move(runner), settings);
}

bool RegistryList::exportGrid(gridexport::ExportFormat format)
{
    const RegistrySearch& search = m_search;
    return m_export
        .toChosenFile(format, m_kind.layoutWord, m_kind.gridCaptions, m_kind.exportProgressLabel,
                      [&search](core::Db& db) { return search.allRows(db); })
        .has_value();
}

QByteArray RegistryList::loadLayout() const
{
    return core::GridLayoutFile(m_paths, m_kind.layoutWord).load();
}

bool RegistryList::saveLayout(const QByteArray& state)
{
    return core::GridLayoutFile(m_paths, m_kind.layoutWord).save(state, m_dialogs);
}

} // namespace carvendo::registry
