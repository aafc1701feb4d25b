#include "stock/ItemPricing.h"

namespace carvendo::stock::ItemPricing {

namespace {

const core::Money Hundred = core::Money::fromInt(100);

} // namespace

core::Money plusPercent(core::Money value, int rate)
{
    // The product with a whole number is exact: one rounding, on the division.
    return value.multipliedBy(qint64(100) + rate).dividedBy(Hundred);
}

core::Money costWithVat(core::Money costWithoutVat, int aliquota)
{
    return plusPercent(costWithoutVat, aliquota);
}

core::Money discounted(core::Money value, int discount)
{
    return value - value.percent(core::Money::fromInt(discount));
}

core::Money discountedCost(core::Money costWithoutVat, int discount1, int discount2)
{
    return discounted(discounted(costWithoutVat, discount1), discount2);
}

core::Money discountedCostColumn(core::Money costWithoutVat, int discount1, int discount2)
{
    if (discount1 == 0 && discount2 == 0)
        return {};
    return discountedCost(costWithoutVat, discount1, discount2);
}

core::Money salePrice(core::Money costWithoutVat, int markup)
{
    return plusPercent(costWithoutVat, markup);
}

SaleFigures saleFigures(core::Money salePriceWithoutVat, core::Money costWithoutVat, int aliquota)
{
    return {plusPercent(salePriceWithoutVat, aliquota), salePriceWithoutVat - costWithoutVat};
}

core::Money listCostBase(core::Money acquistoscontato, core::Money prezzoAcquisto, int aliquota)
{
    if (acquistoscontato > core::Money())
        return costWithVat(acquistoscontato, aliquota);
    return prezzoAcquisto;
}

core::Money listPrice(core::Money costBase, core::Money markup)
{
    const core::Money factor = (markup + Hundred).dividedBy(Hundred);
    return costBase.multipliedBy(factor);
}

std::optional<core::Money> listMarkup(core::Money price, core::Money costBase)
{
    if (costBase.isZero())
        return std::nullopt;
    const core::Money factor = price.dividedBy(costBase);
    return (factor - core::Money::fromInt(1)).multipliedBy(qint64(100));
}

} // namespace carvendo::stock::ItemPricing
