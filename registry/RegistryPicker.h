#pragma once

#include "core/Navigator.h"
#include "registry/RegistryList.h"

#include <QString>
#include <QStringList>
#include <QVariant>

namespace carvendo::registry {

// The four pickers: a customer or supplier for a document or tool ("Preleva"), or another
// record's address as a document's destination ("PrelDest").
enum class PickerPurpose
{
    Counterpart,
    Destination
};

// The pickers by window name: "TClientiPreleva", "TClientiPrelDest", "TFornitoriPreleva",
// "TFornitoriPrelDest".
struct PickerWindow
{
    QString name;
    const RegistryKind* kind;
    PickerPurpose purpose;

    static const QList<PickerWindow>& all();
    static const PickerWindow* find(const QString& name); // nullptr when unknown
};

// What the picker hands to each caller: the caller names it serves and, per caller, the columns of
// the chosen record the caller copies. The chosen record's key is always the result's value and
// the first of its values.
class PickerContract
{
public:
    // The callers the picker window serves.
    static QStringList callers(const QString& pickerWindow);
    // The columns handed to that caller; empty when the picker does not serve it.
    static QStringList columns(const QString& pickerWindow, const QString& caller);
};

// The logic of the picker windows: search (by name, "tutti"), new record, delete, and the choice
// handed back to the caller through the window's NavigationResult.
class RegistryPicker
{
public:
    RegistryPicker(const PickerWindow& window, const QString& caller, core::Db& db,
                   const core::Session& session, core::Dialogs& dialogs, core::Navigator& navigator);
    // Where a deleted customer's web account is removed; none by default.
    void setWebAccounts(WebAccounts webAccounts) { m_webAccounts = std::move(webAccounts); }

    const RegistryKind& kind() const { return *m_window.kind; }
    const QString& caller() const { return m_caller; }
    RegistrySearch& search() { return m_search; }
    const core::Rows& rows() const { return m_search.rows(); }

    void open() { m_search.search(SearchMode::All, {}); }
    void find(const QString& text) { m_search.search(SearchMode::Name, text); }
    void showAll() { m_search.search(SearchMode::All, {}); }

    // A new record: the card opens on a new record, written only when saved. The list then shows
    // the new record's name. Returns its key (null when the card was left unsaved).
    QVariant newRecord();
    // Deletes the record after the privilege check and the question. True when deleted.
    bool deleteRecord(const QVariant& key);

    // Chooses the record with that key for the caller: the result carries its key and the columns
    // the caller copies, read afresh. False (and a message) when the caller is not served or the
    // record is gone.
    bool choose(const QVariant& key);
    const core::NavigationResult& result() const { return m_result; }

    static QString unknownCallerMessage(const QString& caller);
    static QString recordGoneMessage();

private:
    const PickerWindow& m_window;
    QString m_caller;
    WebAccounts m_webAccounts;
    core::Db& m_db;
    const core::Session& m_session;
    core::Dialogs& m_dialogs;
    core::Navigator& m_navigator;
    RegistrySearch m_search;
    core::NavigationResult m_result;
};

} // namespace carvendo::registry
