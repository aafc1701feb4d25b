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
// An invoice made from a counter sale was paid there: one settled line, whatever the payment type.
class InvoiceCashBook
{
public:
    InvoiceCashBook(core::Db& db, const QString& tipodoc) : m_db(db), m_tipodoc(tipodoc) {}

    // How the invoice was paid: by its payment term, or already at the counter (a sale made an invoice).
    enum class Settlement
    {
        ByTerm,
        AtTheCounter
    };

    QList<accounts::CashBookEntry> entries(int idFattura, Settlement settlement = Settlement::ByTerm);
    void write(int idFattura, Settlement settlement = Settlement::ByTerm);

    // " (1 di 3)", " (3 di 3) - Saldo"; nothing for a single instalment.
    static QString instalmentSuffix(int index, int count);

private:
    core::Db& m_db;
    QString m_tipodoc;
};

} // namespace carvendo::documents
