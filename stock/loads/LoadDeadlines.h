#pragma once

#include "accounts/DocumentInstalments.h"
#include "stock/loads/LoadHeader.h"

#include <QList>

namespace carvendo::core {
class Db;
} // namespace carvendo::core

namespace carvendo::stock {

// The supplier deadlines of a load, through the instalments every document shares: the instalments of
// its payment term over its total, stored on the header and written to `scadenzario` as money to pay,
// inside the caller's transaction.
class LoadDeadlines
{
public:
    explicit LoadDeadlines(core::Db& db) : m_db(db) {}

    // Assigns and writes them (the load's instalments are no longer the e-invoice's); refused when the load
    // names no known payment term. previousTipoDoc is the document type the load had before this command:
    // rows written under it go.
    QList<accounts::Instalment> write(const LoadHeader& load, const QString& previousTipoDoc);
    // Instalments the supplier's document gives (at most four), written as they are and kept on
    // saving until the operator assigns others.
    void writeGiven(const LoadHeader& load, const QList<accounts::Instalment>& rate);
    // On saving: a load whose deadlines were written keeps them in step with its total and term; one
    // made from a supplier's e-invoice keeps the invoice's instalments until the operator assigns others.
    void follow(const LoadHeader& load, const QString& previousTipoDoc);

    static QString noTermMessage() { return accounts::DocumentInstalments::noTermMessage(); }

private:
    void markFromFile(int idCarico, bool fromFile);
    // The header's instalments written to `scadenzario`, inside the caller's transaction.
    void schedule(const LoadHeader& load, const QString& previousTipoDoc);

    core::Db& m_db;
};

} // namespace carvendo::stock
