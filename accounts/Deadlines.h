#pragma once

#include "accounts/Instalments.h"

#include <QDate>
#include <QList>
#include <QString>

namespace carvendo::core {
class Db;
} // namespace carvendo::core

namespace carvendo::accounts {

// A document's deadlines as `scadenzario` keeps them. A document is known by its key together with its
// kind and direction: invoice 7, delivery note 7 and load 7 are three documents.
struct DeadlineDocument
{
    int rifDoc = 0;
    QString tipoDoc; // invoiceKind(), deliveryNoteKind(), or the load's own document type
    QString tipo;    // credit() for what is to be received, debit() for what is to be paid
    int nrDoc = 0;
    QString anno;
    QString mese;
    QDate dataDoc;
    QString pagamento;
    QString note;
    QString soggetto; // the customer (credit) or the supplier (debit)
    int idSoggetto = 0;
    int idMagazzino = 0;
    QString magazzino;
    QList<Instalment> rate;

    static QString credit() { return QStringLiteral("Credito"); }
    static QString debit() { return QStringLiteral("Debito"); }
    static QString invoiceKind() { return QStringLiteral("Fattura di Vendita"); }
    static QString deliveryNoteKind() { return QStringLiteral("DDT"); }
    static QString saleNote(const QString& numero);
    static QString fromDeliveryNote(const QString& numeroDdt);
    static QString loadNote(int numeroCarico);
};

// The one writer of `scadenzario` that invoices, delivery notes and stock loads share. It works inside
// the caller's transaction, so the deadlines go with the document or not at all.
class Deadlines
{
public:
    explicit Deadlines(core::Db& db) : m_db(db) {}

    // Writes the document's instalments. What was paid stays as it is: an instalment whose due date
    // already has a settled row is not written again, and only the unsettled rows are replaced. When
    // the unsettled rows already say what would be written, nothing is written and false is returned.
    bool write(const DeadlineDocument& document);
    // Deletes the unsettled deadlines of a document (a delivery note being invoiced).
    void removeOpen(int rifDoc, const QString& tipoDoc, const QString& tipo);
    // The deadlines of a document whose kind changed (a load's document type) move to the new kind,
    // paid ones included, so the next write still sees what was paid.
    void retype(int rifDoc, const QString& fromTipoDoc, const QString& toTipoDoc, const QString& tipo);

private:
    core::Db& m_db;
};

} // namespace carvendo::accounts
