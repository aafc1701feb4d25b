#pragma once

#include "core/Rows.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace carvendo::core {
class Db;
} // namespace carvendo::core

namespace carvendo::accounts {

// One instalment row of a payment term (`rate`): days after the starting date and the percentage
// shown beside it (the split of the amounts does not use it).
struct TermInstalment
{
    int giorni = 0;
    int percentuale = 0;

    bool operator==(const TermInstalment&) const = default;
};

// A payment term (`pagamenti`) with its instalment rows in their stored order.
struct PaymentTerm
{
    int id = 0;
    QString descrizione;
    QString codice;
    QString modalita;
    int nrRate = 1;
    QString tipoRate = normale();
    QString tipoDecorrenza = dataFattura();
    QList<TermInstalment> rate;

    bool operator==(const PaymentTerm&) const = default;

    static QString normale() { return QStringLiteral("Normale"); }
    static QString ivaPrimaRata() { return QStringLiteral("Iva prima rata"); }
    static QString dataFattura() { return QStringLiteral("Data Fattura"); }
    static QString fineMese() { return QStringLiteral("Fine mese"); }
    static QString immediata() { return QStringLiteral("Immediata"); }
    static QStringList decorrenze() { return {dataFattura(), fineMese(), immediata()}; }

    // Documents hold at most four instalments.
    static constexpr int MaxRate = 4;
    static QString tooManyInstalmentsMessage()
    {
        return QStringLiteral("Il numero delle rate deve essere compreso tra 1 e 4");
    }
};

// The `pagamenti` and `rate` rows: every statement about payment terms is here.
class PaymentTermStore
{
public:
    explicit PaymentTermStore(core::Db& db) : m_db(db) {}

    // The terms whose description or code begins with the text, by description.
    core::Rows list(const QString& search = {});
    std::optional<PaymentTerm> find(int id);
    // The term a document names in its `tipopagamento`.
    std::optional<PaymentTerm> findByDescription(const QString& descrizione);
    // Writes the term and replaces its instalment rows, inside the caller's transaction (or its own).
    // Returns the term's key. A term deleted meanwhile is refused, never written into nothing.
    int save(const PaymentTerm& term);
    // Deletes the instalment rows and the term in one transaction; false when it was gone already.
    bool remove(int id);
    // The payment methods offered by the card (`modalita_pagamenti`).
    QStringList modes();

    static QString goneMessage() { return QStringLiteral("Il pagamento non esiste più"); }

private:
    std::optional<PaymentTerm> read(const core::Rows& rows);

    core::Db& m_db;
};

} // namespace carvendo::accounts
