#pragma once

#include "core/Navigator.h"

#include <QString>
#include <QStringList>

namespace carvendo::core {
class Db;
class Dialogs;
} // namespace carvendo::core

namespace carvendo::stock {

// The logic of TRicercaAvanzata: one attribute (`categoria` unless another is chosen) and a value;
// when some item has it, the window closes handing both to the list, which shows those items.
class RicercaAvanzata
{
public:
    RicercaAvanzata(core::Db& db, core::Dialogs& dialogs) : m_db(db), m_dialogs(dialogs) {}

    static QString emptyValueMessage() { return QStringLiteral("Inserire un valore di ricerca!"); }
    static QString notFoundMessage() { return QStringLiteral("Articolo non trovato!"); }

    // The attributes offered and their captions, in the same order.
    static QStringList attributes();
    static QStringList captions();

    const QString& attribute() const { return m_attribute; }
    // An attribute outside the list is ignored.
    void setAttribute(const QString& attribute);

    // True when some item has the value; the result then holds "attributo" and "valore".
    bool search(const QString& value);
    const core::NavigationResult& result() const { return m_result; }

private:
    core::Db& m_db;
    core::Dialogs& m_dialogs;
    QString m_attribute = QStringLiteral("categoria");
    core::NavigationResult m_result;
};

} // namespace carvendo::stock
