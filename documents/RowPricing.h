#pragma once

#include "core/Money.h"

#include <QString>

namespace carvendo::documents {

using core::Money;

// The amounts of one document row, at four decimals.
struct RowAmounts
{
    Money pubblico;      // VAT-inclusive unit price as entered, before the row discount
    Money prezzoVendita; // net unit price after the row discount
    Money subTotale;
    Money subTotaleIvato;
    Money ivaSubtotale;
    Money subtotaleAcq;
    Money utileSubtotale;
    int qfisica = 0; // pieces: the quantity for "PZ", else 1
};

// The prices an item offers on the three price lists.
struct ListPrices
{
    Money pubblico;         // list 1, VAT included
    Money listino2, netto2; // list 2: VAT included and net
    Money listino3, netto3; // list 3
};

struct PriceForCustomer
{
    Money gross; // VAT included: what the quantity dialog opens with
    Money net;
};

// (A + 100) / 100 at four decimals: 22 % gives 1.2200.
Money vatFactor(int aliquota);
// Pieces of a row: its quantity when sold by the piece, else one.
int piecesOf(double quantity, const QString& saleUnit);

// The item's price on the customer's list ("LISTINO1", "LISTINO2", "LISTINO3"; anything else is list 1).
PriceForCustomer priceForCustomer(const ListPrices& prices, const QString& listino, int aliquota);

// A row as the quantity dialog confirms it: quantity, row discount in percent and the VAT-inclusive
// unit price; the VAT is computed on the row at four decimals.
RowAmounts rowFromEntry(double quantity, int discountPercent, Money grossPrice, int aliquota,
                        Money purchaseNet, const QString& saleUnit);

// A row after the grid's cells were edited: the VAT is rounded per unit before the quantity multiplies
// it, and the pieces are the quantity. unitNet is the undiscounted net unit price.
RowAmounts rowFromGrid(int quantity, int discountPercent, Money grossPrice, int aliquota, Money purchaseNet);

// A manual line ("Voce manuale"): the price with or without VAT, no purchase cost.
RowAmounts manualLine(double quantity, Money price, bool priceIncludesVat, int aliquota, const QString& unit);

// The header's totals, all derived from the rows' sums and the document's own discount and
// withholding rates, so that every recompute gives the same figures. A stamp duty charged to the
// customer is part of what the document totals and what the customer owes, never of its taxable
// amount nor of the withholding's base.
struct DocumentTotals
{
    Money imponibile, ivatotale, totaledocumento;
    Money bollo; // the stamp duty charged to the customer
    int totaleArticoli = 0;
    Money scontoPerc, sconto, scontoIva;
    Money raPerc, ritenutaImporto, totaleDaPagare;
};

DocumentTotals totalsOf(Money sumSubTotale, Money sumIvaSubtotale, int pieces, Money discountPercent,
                        Money withholdingPercent, Money stampDuty = {});

} // namespace carvendo::documents
