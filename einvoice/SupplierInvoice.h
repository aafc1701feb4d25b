#pragma once

#include "core/Money.h"

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

namespace carvendo::einvoice {

// What the program takes from a supplier's electronic invoice to receive its goods: plain values,
// as the file gives them.

// The seller block (`CedentePrestatore`).
struct SupplierParty
{
    QString idPaese;    // of the VAT number ("IT")
    QString partitaIva; // without the country
    QString codiceFiscale;
    QString denominazione; // or name and surname of a person
    QString indirizzo;
    QString cap;
    QString comune;
    QString provincia;
    QString nazione;
};

// One `CodiceArticolo`: its kind as the supplier names it ("EAN", "Cod. Art. fornitore"...) and value.
struct SupplierItemCode
{
    QString tipo;
    QString valore;
};

// One `ScontoMaggiorazione`: a discount (SC) or a surcharge (MG), as a percentage or an amount.
struct PriceAdjustment
{
    bool maggiorazione = false;
    std::optional<core::Money> percentuale;
    std::optional<core::Money> importo;
};

// One `DettaglioLinee`.
struct SupplierInvoiceLine
{
    int numero = 0;
    QList<SupplierItemCode> codici;
    QString descrizione;
    std::optional<double> quantita; // absent on a line of a service or a cost
    QString unitaMisura;
    core::Money prezzoUnitario;
    QList<PriceAdjustment> sconti;
    core::Money prezzoTotale;
    core::Money aliquota;
    QString natura;
};

// One `DettaglioPagamento`.
struct SupplierInstalment
{
    QDate scadenza; // invalid when the file gives none
    core::Money importo;
    QString modalita; // "MP05"
};

// One invoice: a `FatturaElettronicaBody` with the seller of the file's header.
struct SupplierInvoice
{
    SupplierParty cedente;
    QString tipoDocumento; // "TD01"
    QString divisa;
    QDate data;
    QString numero;
    core::Money totale; // `ImportoTotaleDocumento`, zero when the file leaves it out
    QList<SupplierInvoiceLine> righe;
    QList<SupplierInstalment> rate;
};

// What tells one supplier document from every other: the seller's country and VAT number (its fiscal
// code when it has none), the number and the date ("IT07654321098|FV-118|2026-03-10"). A load made
// from the invoice keeps it, so the same document is never received twice.
QString documentKey(const SupplierInvoice& invoice);

} // namespace carvendo::einvoice
