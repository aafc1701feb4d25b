#pragma once

#include "core/Money.h"

#include <QDate>
#include <QString>

namespace carvendo::core {
class Db;
} // namespace carvendo::core

namespace carvendo::documents {

// The header fields the invoice window edits and "Salva" writes: date and series, reason, destination,
// bank, payment and the shipping block.
struct InvoiceFields
{
    QDate data;
    QString suffisso;
    QString causale;
    QString ragSocDest, indirizzoDest, capDest, cittaDest, provinciaDest;
    int idBanca = 0;
    QString bancaAppoggio;
    QString tipoPagamento;
    QString aspetto;
    int colli = 0;
    QString peso;
    QString tipoSped;
    QString vettore;
    QDate dataTrasporto;
    QString dataScadenza; // "dd/MM/yyyy", as the counter's invoices note when they were paid
    QString oraText;
    core::Money speseSped;
    QString porto;
    QString noteMemo;

    bool operator==(const InvoiceFields&) const = default;
};

// Reads and writes those fields on `fatture`. A write sets only the columns that differ from what the
// window opened with, so a second workstation's change to another field is not overwritten; a new
// date brings its year and month name (`Anno`, `Mese`) with it.
class InvoiceFieldStore
{
public:
    explicit InvoiceFieldStore(core::Db& db) : m_db(db) {}

    InvoiceFields read(int idFattura);
    // Inside the caller's transaction. Throws a refusal when the invoice is gone.
    void write(int idFattura, const InvoiceFields& opened, const InvoiceFields& edited);

private:
    core::Db& m_db;
};

} // namespace carvendo::documents
