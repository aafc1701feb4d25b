#pragma once

#include "core/Money.h"

#include <QDate>
#include <QList>
#include <QString>

namespace carvendo::core {
class Db;
} // namespace carvendo::core

namespace carvendo::accounts {

// One movement of the cash book (`prima_nota`) as a document writes it.
struct CashBookEntry
{
    QDate data;
    QString risorsa; // "CASSA" or "BANCA"
    QString modalita;
    core::Money entrate;
    core::Money uscite;
    QString descrizione;
    QString soggetto;
    int idsoggetto = 0;
    QString tiposogg; // "Cliente", "Fornitore", "Operaio"
    QString riferimento;
    bool saldato = false;
    int idmagazzino = 0;
    QString magazzino;
    QString mese;
    QString anno;
    QString banca;
};

// The automatic writer every document shares (loads, invoices, the till): a document's entries are
// replaced as a whole, so saving it again never leaves two sets. It writes inside the caller's
// transaction (or its own when there is none), so the entries go with the document or not at all.
class CashBookWriter
{
public:
    explicit CashBookWriter(core::Db& db) : m_db(db) {}

    // Deletes the entries of the document (kind and key) and appends these.
    void replace(const QString& tipodoc, int iddoc, const QList<CashBookEntry>& entries);
    // Saving a document again: a line already settled stays as the operator left it (an entry with
    // the same description is not written again), unless the entry itself is settled at once (cash),
    // which then takes the entry's values; the unsettled lines are replaced by the other entries.
    void replaceKeepingSettled(const QString& tipodoc, int iddoc, const QList<CashBookEntry>& entries);

    // The payment type's `modalita`; a type the table does not know counts as "Contanti".
    QString modalitaOf(const QString& tipoPagamento);
    // "Contanti" goes to the till, anything else to the bank.
    static QString resourceOf(const QString& modalita);
    static QString cash() { return QStringLiteral("Contanti"); }

private:
    void insert(const QString& tipodoc, int iddoc, const CashBookEntry& entry);
    void update(int id, const CashBookEntry& entry);

    core::Db& m_db;
};

} // namespace carvendo::accounts
