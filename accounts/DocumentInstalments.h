#pragma once

#include "accounts/Deadlines.h"
#include "accounts/Instalments.h"

#include <QList>
#include <QString>

namespace carvendo::core {
class Db;
class Row;
} // namespace carvendo::core

namespace carvendo::accounts {

// A document header table that carries instalments (`NRATE`, `PRATAi`, `DRATAi`, `Scadenzario`): only
// these, so a table or key name never comes from anywhere else into SQL text.
class InstalmentTable
{
public:
    static InstalmentTable fatture() { return {"fatture", "idFattura"}; }
    static InstalmentTable ddt() { return {"ddt", "idDdt"}; }
    static InstalmentTable carichi() { return {"carichi", "idCarico"}; }

    QString table() const { return QLatin1String(m_table); }
    QString key() const { return QLatin1String(m_key); }

private:
    InstalmentTable(const char* table, const char* key) : m_table(table), m_key(key) {}

    const char* m_table;
    const char* m_key;
};

// The instalments a header row holds (`NRATE`, `PRATAi`, `DRATAi`), in their order: the one place
// that reads them, so a header never yields more than a document can hold.
QList<Instalment> instalmentsOf(const core::Row& header);
// The instalments as the customer is asked them: in cents, the last taking what makes them add up to
// their total in cents (three stored 66,8333 + 66,8333 + 66,8334 are asked 66,83 + 66,83 + 66,84).
QList<Instalment> inCents(QList<Instalment> instalments);
// The header columns instalmentsOf reads, for a select list; prefix names the table ("f.").
QString instalmentColumns(const QString& prefix = {});

// "Assegna rate" and "A scadenzario" of every document that is paid in instalments (invoice, delivery
// note, stock load): the term's instalments over the document's total stored on its header, and the
// header's instalments written to `scadenzario`. Each works inside the caller's transaction (or its
// own), so a failure leaves header and deadlines as they were.
class DocumentInstalments
{
public:
    DocumentInstalments(core::Db& db, InstalmentTable table) : m_db(db), m_table(table) {}

    // The instalments of the term named tipoPagamento, stored on the header; refused (noTermMessage)
    // when the name is empty or no term has it.
    QList<Instalment> assign(int documentId, const QString& tipoPagamento, const InstalmentBasis& basis);
    // Stores instalments given by the document itself (a supplier's invoice), at most four.
    void store(int documentId, const QList<Instalment>& rate);
    // The instalments the header holds, in their order.
    QList<Instalment> stored(int documentId);
    // Writes the header's instalments as the document's deadlines and marks the header scheduled.
    // False when the deadlines already said so and nothing was written.
    bool schedule(int documentId, DeadlineDocument document);
    // Whether the header's deadlines were written ("A scadenzario" was used).
    bool isScheduled(int documentId);

    static QString noTermMessage() { return QStringLiteral("Attenzione! Scegliere Tipo di Pagamento"); }
    static QString noInstalmentsMessage()
    {
        return QStringLiteral("Attenzione! Assegnare prima le rate del pagamento");
    }

private:
    core::Db& m_db;
    InstalmentTable m_table;
};

} // namespace carvendo::accounts
