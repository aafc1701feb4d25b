#include "stock/ItemPricing.h"

#include <gtest/gtest.h>

using carvendo::core::Money;
namespace pricing = carvendo::stock::ItemPricing;

namespace {

Money m(const char* text)
{
    return *Money::parse(QString::fromLatin1(text));
}

TEST(ItemPricingTest, SupplierDiscountsCompound)
{
    EXPECT_EQ(pricing::discounted(m("100.00"), 10), m("90.00"));
    EXPECT_EQ(pricing::discountedCost(m("100.00"), 10, 10), m("81.00"))
        << "the second on what the first left";
}

TEST(ItemPricingTest, MarkupGivesSalePricePublicPriceAndMargin)
{
    const struct
    {
        const char* cost;
        int markup;
        int aliquota;
        const char* sale;
        const char* pubblico;
        const char* utile;
    } cases[] = {
        {"10.00", 30, 22, "13.00", "15.86", "3.00"},
        {"0.3333", 33, 22, "0.4433", "0.5408", "0.11"}, // 0.443289 and 0.540826 rounded
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.cost) + " +" + std::to_string(c.markup) + "% VAT " +
                     std::to_string(c.aliquota));
        const Money sale = pricing::salePrice(m(c.cost), c.markup);
        EXPECT_EQ(sale, m(c.sale));
        const pricing::SaleFigures figures = pricing::saleFigures(sale, m(c.cost), c.aliquota);
        EXPECT_EQ(figures.pubblico, m(c.pubblico));
        EXPECT_EQ(figures.utile, m(c.utile));
    }
}

TEST(ItemPricingTest, ListsAreMarkedUpOnTheDiscountedCostWithVatWhenThereIsOne)
{
    // The cost with VAT keeps four decimals: 0.01525 goes to even.
    EXPECT_EQ(pricing::costWithVat(m("0.0125"), 22), m("0.0152"));
    // No discount: the cost with VAT as it stands.
    EXPECT_EQ(pricing::listCostBase(Money(), m("12.20"), 22), m("12.20"));
    // A discounted cost of 81.00 at 22%: 98.82, whatever the undiscounted cost with VAT says.
    EXPECT_EQ(pricing::listCostBase(m("81.00"), m("122.00"), 22), m("98.82"));
}

TEST(ItemPricingTest, ListPriceFromMarkupAndMarkupFromListPrice)
{
    const struct
    {
        const char* costBase;
        const char* markup;
        const char* price;
    } fromMarkup[] = {
        {"98.82", "33.33", "131.7567"}, // factor 1.3333, product 131.756706 rounded
        {"7.00", "0.005", "7.00"},      // factor 1.00005 rounds to even: 1.0000
    };
    for (const auto& c : fromMarkup) {
        SCOPED_TRACE(std::string(c.costBase) + " " + c.markup);
        EXPECT_EQ(pricing::listPrice(m(c.costBase), m(c.markup)), m(c.price));
    }

    const struct
    {
        const char* price;
        const char* costBase;
        const char* markup;
    } fromPrice[] = {
        {"20.00", "3.00", "566.67"}, // 6.666666 -> 6.6667
        {"0", "12.20", "-100"},
    };
    for (const auto& c : fromPrice) {
        SCOPED_TRACE(std::string(c.price) + " on " + c.costBase);
        const std::optional<Money> markup = pricing::listMarkup(m(c.price), m(c.costBase));
        ASSERT_TRUE(markup.has_value());
        EXPECT_EQ(*markup, m(c.markup));
    }
    EXPECT_FALSE(pricing::listMarkup(m("15.86"), Money()).has_value());
}

} // namespace
