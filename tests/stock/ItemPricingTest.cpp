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
    const struct
    {
        const char* cost;
        int discount1;
        int discount2;
        const char* afterFirst;
        const char* afterBoth;
    } cases[] = {
        {"100.00", 10, 10, "90.00", "81.00"},
        {"0.0003", 50, 0, "0.0001", "0.0001"},   // 0.00015 off, to even: 0.0002 off
        {"0.0001", 50, 0, "0.0001", "0.0001"},   // 0.00005 off, to even: nothing off
        {"-100.00", 10, 10, "-90.00", "-81.00"}, // a credit from the supplier discounts the same way
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cost);
        const Money first = pricing::discounted(m(c.cost), c.discount1);
        EXPECT_EQ(first, m(c.afterFirst));
        EXPECT_EQ(pricing::discounted(first, c.discount2), m(c.afterBoth));
        EXPECT_EQ(pricing::discountedCost(m(c.cost), c.discount1, c.discount2), m(c.afterBoth));
    }
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
        {"-10.00", 30, 22, "-13.00", "-15.86", "-3.00"},
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

TEST(ItemPricingTest, CostWithVatRoundsHalfToEven)
{
    const struct
    {
        const char* cost;
        int aliquota;
        const char* withVat;
    } cases[] = {
        {"0.0125", 22, "0.0152"}, // 0.01525 to even
        {"0.0175", 22, "0.0214"}, // 0.02135 to even
        {"-0.0125", 22, "-0.0152"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cost);
        EXPECT_EQ(pricing::costWithVat(m(c.cost), c.aliquota), m(c.withVat));
    }
}

TEST(ItemPricingTest, ListsAreMarkedUpOnTheDiscountedCostWithVatWhenThereIsOne)
{
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
