#pragma once

#include "core/Navigator.h"
#include "stock/Articoli.h"

#include <QString>
#include <QStringList>

namespace carvendo::stock {

// What the item picker hands to each caller: the caller tags it serves and, per caller, the item
// columns that caller copies into its row. The item's `ID` is always the result's value and the
// first of its values.
class ItemPickerContract
{
public:
    static QStringList callers();
    // The columns handed to that caller; empty when the picker does not serve it.
    static QStringList columns(const QString& caller);
};

// The logic of the picker TArticoliPreleva: the item list's searches, new and delete (shared with
// TArticoli, without the realignment on every move), and the choice handed back to the caller.
class ArticoliPreleva
{
public:
    ArticoliPreleva(const QString& caller, core::Db& db, const core::Session& session,
                    const core::Paths& paths, core::Dialogs& dialogs, core::Navigator& navigator);

    static QString windowName() { return QStringLiteral("TArticoliPreleva"); }
    static QString unknownCallerMessage(const QString& caller);
    static QString itemGoneMessage()
    {
        return QStringLiteral("L'articolo scelto non esiste più: aggiornare l'elenco.");
    }

    const QString& caller() const { return m_caller; }
    bool servesCaller() const { return !ItemPickerContract::columns(m_caller).isEmpty(); }
    Articoli& list() { return m_list; }

    // Chooses the current item for the caller: the result carries its ID and the columns the caller
    // copies, read afresh. False (and a message) when the caller is not served, no item is current
    // or the item is gone.
    bool confirm();
    const core::NavigationResult& result() const { return m_result; }

private:
    QString m_caller;
    core::Db& m_db;
    core::Dialogs& m_dialogs;
    Articoli m_list;
    core::NavigationResult m_result;
};

} // namespace carvendo::stock
