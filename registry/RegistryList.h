#pragma once

#include "registry/RegistryKind.h"
#include "registry/WebAccounts.h"

#include "core/Db.h"
#include "core/Rows.h"
#include "gridexport/ListExport.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace carvendo::core {
class Dialogs;
class Navigator;
class Paths;
class Session;
} // namespace carvendo::core

namespace carvendo::registry {

// How a list or picker finds records.
enum class SearchMode
{
    All,      // every record ("tutti")
    Name,     // the name contains the typed text
    TaxCode,  // codice fiscale equal to the typed text
    VatNumber // partita IVA equal to the typed text
};

// The text of a LIKE pattern that finds `text` anywhere, with "%", "_" and "!" escaped by "!"
// (the statements say ESCAPE '!').
QString containsPattern(const QString& text);

// The records a search finds, a page at a time: the list opens on the first page and grows when
// the grid scrolls to its end, so a registry of any size opens at once. Every typed value is bound.
class RegistrySearch
{
public:
    RegistrySearch(const RegistryKind& kind, core::Db& db) : m_kind(kind), m_db(db) {}

    void setPageSize(int rows) { m_pageSize = rows; }
    int pageSize() const { return m_pageSize; }

    // Runs a new search and loads its first page.
    void search(SearchMode mode, const QString& text);
    // The next page of the same search; false when there was nothing more.
    bool loadMore();
    // Reloads the same search with as many rows as are shown now.
    void refresh();

    const core::Rows& rows() const { return m_rows; }
    bool hasMore() const { return m_hasMore; }
    // Every record of the current search, not just the loaded pages (for exports), read on `db`
    // (an export job's own connection) or on the list's.
    core::Rows allRows(core::Db& db) const;
    core::Rows allRows() const { return allRows(m_db); }

    SearchMode mode() const { return m_mode; }
    const QString& text() const { return m_text; }

private:
    core::Rows fetch(int limit);
    QString whereClause() const;
    core::Params whereParams() const;
    void load(int limit);

    const RegistryKind& m_kind;
    core::Db& m_db;
    SearchMode m_mode = SearchMode::All;
    QString m_text{};
    int m_pageSize = 200;
    int m_loaded = 0;
    core::Rows m_rows;
    bool m_hasMore = false;
};

// The logic of the list windows TClienti and TFornitori: search, open, new, delete, grid exports
// and the grid layout kept between sessions.
class RegistryList
{
public:
    RegistryList(const RegistryKind& kind, core::Db& db, const core::Session& session,
                 const core::Paths& paths, core::Dialogs& dialogs, core::Navigator& navigator);
    // Where a deleted customer's web account is removed; none by default.
    void setWebAccounts(WebAccounts webAccounts) { m_webAccounts = std::move(webAccounts); }

    const RegistryKind& kind() const { return m_kind; }
    RegistrySearch& search() { return m_search; }
    const core::Rows& rows() const { return m_search.rows(); }

    // Opens the list on every record.
    void open() { m_search.search(SearchMode::All, {}); }
    void find(SearchMode mode, const QString& text) { m_search.search(mode, text); }

    // The card of the record with that key, then the list reloaded.
    void openRecord(const QVariant& key);
    // The card on a new record, then the list reloaded.
    void newRecord();
    // Deletes the record after the privilege check and the question; for a customer its web
    // account goes in the same transaction. Documents keep their own copy of the data. True when
    // deleted.
    bool deleteRecord(const QVariant& key);

    // Exports read and write on a connection of their own through this runner (the window puts them
    // behind a progress bar); until it is set they run right away on the list's connection.
    void runExportsWith(const core::ConnectionSettings& settings, core::JobRunner runner);
    // Asks for the file and writes every record of the current search. True when written.
    bool exportGrid(gridexport::ExportFormat format);

    // The grid layout saved by the view (header state), empty when none was saved yet.
    QByteArray loadLayout() const;
    // Saves it; a failure is shown and returns false.
    bool saveLayout(const QByteArray& state);

private:
    const RegistryKind& m_kind;
    core::Db& m_db;
    const core::Session& m_session;
    const core::Paths& m_paths;
    core::Dialogs& m_dialogs;
    core::Navigator& m_navigator;
    RegistrySearch m_search;
    WebAccounts m_webAccounts;
    gridexport::ListExport m_export;
};

// Deletes one record of the registry; for a customer also its web account on the exchange. When
// either cannot be deleted (the exchange unreachable, the server refusing) both are kept. Used by the
// list and the pickers after they asked.
void deleteRegistryRecord(const RegistryKind& kind, core::Db& db, const QVariant& key,
                          WebAccounts& webAccounts);

} // namespace carvendo::registry
