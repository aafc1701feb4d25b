#include "accounts/PaymentTerm.h"

#include "core/Db.h"
#include "core/Error.h"

namespace carvendo::accounts {

namespace {

const QString TermColumns = QStringLiteral(
    "SELECT id, Descrizione, Codice, modalita, NrRate, TipoRate, TipoDecorrenza FROM pagamenti ");

} // namespace

core::Rows PaymentTermStore::list(const QString& search)
{
    return m_db.query(QStringLiteral("SELECT id, Descrizione, Codice, modalita, NrRate, TipoRate, "
                                     "TipoDecorrenza FROM pagamenti WHERE Descrizione LIKE :TESTO "
                                     "OR Codice LIKE :TESTO ORDER BY Descrizione, id"),
                      {{QStringLiteral("TESTO"), search.trimmed() + QLatin1Char('%')}});
}

std::optional<PaymentTerm> PaymentTermStore::find(int id)
{
    return read(m_db.query(TermColumns + QStringLiteral("WHERE id = :ID"), {{QStringLiteral("ID"), id}}));
}

std::optional<PaymentTerm> PaymentTermStore::findByDescription(const QString& descrizione)
{
    return read(
        m_db.query(TermColumns + QStringLiteral("WHERE Descrizione = :DESCRIZIONE ORDER BY id LIMIT 1"),
                   {{QStringLiteral("DESCRIZIONE"), descrizione}}));
}

std::optional<PaymentTerm> PaymentTermStore::read(const core::Rows& rows)
{
    if (rows.isEmpty())
        return std::nullopt;
    PaymentTerm term;
    term.id = rows.value(0, "id").toInt();
    term.descrizione = rows.value(0, "Descrizione").toString();
    term.codice = rows.value(0, "Codice").toString();
    term.modalita = rows.value(0, "modalita").toString();
    term.nrRate = rows.value(0, "NrRate").toInt();
    term.tipoRate = rows.value(0, "TipoRate").toString();
    term.tipoDecorrenza = rows.value(0, "TipoDecorrenza").toString();
    // The stored order of the rows is the order of the instalments.
    for (const core::Row row : m_db.query(
             QStringLiteral("SELECT GGScadenza, PercScad FROM rate WHERE idpagamento = :ID ORDER BY id"),
             {{QStringLiteral("ID"), term.id}}))
        term.rate.append({row["GGScadenza"].toInt(), row["PercScad"].toInt()});
    return term;
}

int PaymentTermStore::save(const PaymentTerm& term)
{
    const core::Params values{{QStringLiteral("DESCRIZIONE"), term.descrizione.left(50)},
                              {QStringLiteral("CODICE"), term.codice.left(20)},
                              {QStringLiteral("MODALITA"), term.modalita.left(50)},
                              {QStringLiteral("NRRATE"), term.nrRate},
                              {QStringLiteral("TIPORATE"), term.tipoRate},
                              {QStringLiteral("DECORRENZA"), term.tipoDecorrenza}};
    core::Transaction transaction(m_db);
    int id = term.id;
    if (id == 0) {
        m_db.exec(QStringLiteral("INSERT INTO pagamenti (Descrizione, Codice, modalita, NrRate, TipoRate, "
                                 "TipoDecorrenza) VALUES (:DESCRIZIONE, :CODICE, :MODALITA, :NRRATE, "
                                 ":TIPORATE, :DECORRENZA)"),
                  values);
        id = static_cast<int>(m_db.lastInsertId());
    } else {
        core::Params update = values;
        update.insert(QStringLiteral("ID"), id);
        if (m_db.exec(QStringLiteral("UPDATE pagamenti SET Descrizione = :DESCRIZIONE, Codice = :CODICE, "
                                     "modalita = :MODALITA, NrRate = :NRRATE, TipoRate = :TIPORATE, "
                                     "TipoDecorrenza = :DECORRENZA WHERE id = :ID"),
                      update) == 0)
            throw core::Error(goneMessage(), core::Error::Kind::Refusal);
        m_db.exec(QStringLiteral("DELETE FROM rate WHERE idpagamento = :ID"), {{QStringLiteral("ID"), id}});
    }
    for (const TermInstalment& rata : term.rate)
        m_db.exec(QStringLiteral("INSERT INTO rate (GGScadenza, PercScad, idpagamento) "
                                 "VALUES (:GIORNI, :PERCENTUALE, :ID)"),
                  {{QStringLiteral("GIORNI"), rata.giorni},
                   {QStringLiteral("PERCENTUALE"), rata.percentuale},
                   {QStringLiteral("ID"), id}});
    transaction.commit();
    return id;
}

bool PaymentTermStore::remove(int id)
{
    core::Transaction transaction(m_db);
    m_db.exec(QStringLiteral("DELETE FROM rate WHERE idpagamento = :ID"), {{QStringLiteral("ID"), id}});
    const bool removed =
        m_db.exec(QStringLiteral("DELETE FROM pagamenti WHERE id = :ID"), {{QStringLiteral("ID"), id}}) > 0;
    transaction.commit();
    return removed;
}

QStringList PaymentTermStore::modes()
{
    QStringList names;
    for (const core::Row row : m_db.query(QStringLiteral(
             "SELECT descrizione FROM modalita_pagamenti WHERE descrizione <> '' ORDER BY id")))
        names << row["descrizione"].toString();
    return names;
}

} // namespace carvendo::accounts
