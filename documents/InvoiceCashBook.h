#pragma once

#include "accounts/CashBookWriter.h"

#include <QList>

namespace carvendo::core {
class Db;
} // namespace carvendo::core

namespace carvendo::documents {

// An invoice's cash-book lines, written at every save inside the save's transaction: paid in cash,
// one settled line for the whole; otherwise one open line per instalment on the header (none until
// instalments are assigned), " (2 di 3)", " (3 di 3) - Saldo". Lines already settled stay settled.
class InvoiceCashBook
{
public:
    InvoiceCashBook(core::Db& db, const QString& tipodoc) : m_db(db), m_tipodoc(tipodoc) {}

    QList<accounts::CashBookEntry> entries(int idFattura);
    void write(int idFattura);

    // " (1 di 3)", " (3 di 3) - Saldo"; nothing for a single instalment.
    static QString instalmentSuffix(int index, int count);

private:
    core::Db& m_db;
    QString m_tipodoc;
};

} // namespace carvendo::documents
