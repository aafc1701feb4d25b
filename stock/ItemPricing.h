#pragma once

#include "core/Money.h"

#include <optional>

namespace carvendo::stock {

// The price rules of an item. Every amount is fixed-point with four decimals; each step that the
// card rounds is rounded half to even, so the figures match the ones the shop computes by hand.
// Rates (VAT, discounts, the cost markup) are whole percents; list markups carry decimals.
namespace ItemPricing {

// value × (100 + rate) / 100, rounded: the cost with VAT from the cost without, the sale price
// from the cost and a markup, the public price from the sale price.
core::Money plusPercent(core::Money value, int rate);

// The cost including VAT (`PrezzoAcquisto`) of a cost excluding VAT at the item's rate.
core::Money costWithVat(core::Money costWithoutVat, int aliquota);

// A supplier discount taken off: value − rounded(value × discount / 100). Discount 1 applies to
// the cost excluding VAT; discount 2 to what discount 1 left.
core::Money discounted(core::Money value, int discount);

// The cost after both supplier discounts.
core::Money discountedCost(core::Money costWithoutVat, int discount1, int discount2);

// What `acquistoscontato` holds: the discounted cost, worked out again from the cost and both
// discounts whichever of them changed; 0 when no discount applies, so the lists mark up the cost.
core::Money discountedCostColumn(core::Money costWithoutVat, int discount1, int discount2);

// The sale price excluding VAT (`PrezzoVendnoiva`) of the cost and the markup `Ricarico%`.
core::Money salePrice(core::Money costWithoutVat, int markup);

// The public price including VAT (`Pubblico`) and the margin (`Utile`) of a sale price.
struct SaleFigures
{
    core::Money pubblico;
    core::Money utile;
};
SaleFigures saleFigures(core::Money salePriceWithoutVat, core::Money costWithoutVat, int aliquota);

// The VAT-inclusive cost the three price lists are marked up on: the discounted cost with VAT when
// a discount applies (`acquistoscontato` > 0), else the cost with VAT (`PrezzoAcquisto`).
core::Money listCostBase(core::Money acquistoscontato, core::Money prezzoAcquisto, int aliquota);

// A list price from its markup R (decimal percent): rounded(C × rounded((R + 100) / 100)).
core::Money listPrice(core::Money costBase, core::Money markup);

// The markup of a list price P over C: (rounded(P / C) − 1) × 100, two decimals as the factor has
// four. No markup can be worked out over a zero cost.
std::optional<core::Money> listMarkup(core::Money price, core::Money costBase);

} // namespace ItemPricing

} // namespace carvendo::stock
