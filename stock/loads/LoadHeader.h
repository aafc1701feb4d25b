#pragma once

#include "core/Money.h"

#include <QDate>
#include <QString>

namespace carvendo::core {
class Db;
class Session;
} // namespace carvendo::core

namespace carvendo::stock {

// What a load's rows add up to.
struct LoadTotals
{
    core::Money imponibile;
    core::Money ivaTotale;
    core::Money totaleDocumento;
    int totaleArticoli = 0;
};

// A load's header as its rows and its save need it.
struct LoadHeader
{
    int id = 0;
    int numero = 0;
    QString anno;
    QString mese;
    QDate data;
    int idMagazzino = 0;
    QString magazzino;
    int idFornitore = 0;
    QString fornitore;
    QString numDoc;
    QString tipoDoc;
    QDate dataDoc;
    QString causale;
    QString tipoPagamento;
    QString note;
    QString fatturaElettronica;  // the supplier e-invoice the load was made from; empty when typed
    bool scadenzeDaFile = false; // its instalments are the e-invoice's, not its payment term's
    core::Money imponibile;
    core::Money ivaTotale;
    core::Money totaleDocumento;
    int totaleArticoli = 0;

    void setTotals(const LoadTotals& totals)
    {
        imponibile = totals.imponibile;
        ivaTotale = totals.ivaTotale;
        totaleDocumento = totals.totaleDocumento;
        totaleArticoli = totals.totaleArticoli;
    }
};

// The header fields the load window edits and writes on saving.
struct LoadHeaderFields
{
    int idFornitore = 0;
    QString numDoc;
    QString tipoDoc;
    QDate dataDoc;
    QString causale;
    QString tipoPagamento;
    QString note;

    bool operator==(const LoadHeaderFields&) const = default;
};

// `carichi` rows: a new numbered load, reading one, and writing what the window edits.
class LoadStore
{
public:
    explicit LoadStore(core::Db& db) : m_db(db) {}

    // A new load of the current warehouse and operator, numbered under the numbering lock (the first
    // load of a year is 1). Returns its key.
    int create(const core::Session& session, const QString& tipoDoc = {});
    // The header; with lockRow, the row stays locked to the end of the caller's transaction, so two
    // workstations working on one load take turns. Throws a refusal when the load is gone.
    LoadHeader read(int idCarico, bool lockRow = false);
    // Writes the edited fields with the supplier's names copied from `fornitori`, inside the caller's
    // transaction; an import also gives the key of the supplier's e-invoice (kept when not given).
    void write(int idCarico, const LoadHeaderFields& fields, const core::Session& session,
               const QString& fatturaElettronica = {});
    // Moves the load to another warehouse (only while it has no rows: refused otherwise).
    void moveToWarehouse(int idCarico, int idMagazzino, const QString& magazzino);

    static QString goneMessage() { return QStringLiteral("Il carico non esiste più."); }

private:
    core::Db& m_db;
};

} // namespace carvendo::stock
