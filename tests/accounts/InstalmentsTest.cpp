#include "accounts/Instalments.h"
#include "accounts/PaymentTerm.h"
#include "core/Error.h"

#include <gtest/gtest.h>

using namespace carvendo;
using accounts::Instalment;
using accounts::PaymentTerm;

namespace {

core::Money euro(const char* text)
{
    return *core::Money::parse(QString::fromLatin1(text));
}

PaymentTerm term(int n, const QString& tipoRate, const QString& decorrenza, QList<int> giorni)
{
    PaymentTerm result;
    result.nrRate = n;
    result.tipoRate = tipoRate;
    result.tipoDecorrenza = decorrenza;
    for (int days : giorni)
        result.rate.append({days, 0});
    return result;
}

struct Case
{
    const char* name;
    PaymentTerm term;
    const char* imponibile;
    const char* iva;
    const char* totale;
    QList<Instalment> expected;
};

const QDate Feb10 = QDate(2025, 2, 10);

} // namespace

TEST(InstalmentsTest, TermsGiveTheirDatedInstalments)
{
    const QString normale = PaymentTerm::normale();
    const QString df = PaymentTerm::dataFattura();
    const std::vector<Case> cases{
        {"single instalment is the whole total",
         term(1, PaymentTerm::ivaPrimaRata(), df, {30}),
         "100",
         "22",
         "122",
         {{euro("122"), Feb10.addDays(30)}}},
        {"the last of three instalments takes what the rounding left",
         term(3, normale, df, {30, 60, 90}),
         "81.97",
         "18.03",
         "100",
         {{euro("33.3333"), Feb10.addDays(30)},
          {euro("33.3333"), Feb10.addDays(60)},
          {euro("33.3334"), Feb10.addDays(90)}}},
        {"the VAT goes with the first instalment",
         term(2, PaymentTerm::ivaPrimaRata(), df, {30, 60}),
         "100",
         "22",
         "122",
         {{euro("72"), Feb10.addDays(30)}, {euro("50"), Feb10.addDays(60)}}},
        {"end of month",
         term(2, normale, PaymentTerm::fineMese(), {30, 60}),
         "100",
         "0",
         "100",
         {{euro("50"), QDate(2025, 3, 30)}, {euro("50"), QDate(2025, 4, 29)}}},
        {"missing rows repeat the last days",
         term(4, normale, df, {30, 60}),
         "100",
         "0",
         "100",
         {{euro("25"), Feb10.addDays(30)},
          {euro("25"), Feb10.addDays(60)},
          {euro("25"), Feb10.addDays(60)},
          {euro("25"), Feb10.addDays(60)}}},
        {"no rows are days 0, immediate starts at the document date",
         term(2, normale, PaymentTerm::immediata(), {}),
         "0",
         "0",
         "0.0001",
         {{euro("0"), Feb10}, {euro("0.0001"), Feb10}}},
        {"an unknown kind splits the total",
         term(2, QStringLiteral("Altro"), df, {0}),
         "100",
         "22",
         "122",
         {{euro("61"), Feb10}, {euro("61"), Feb10}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QList<Instalment> got =
            accounts::assignInstalments({Feb10, euro(c.imponibile), euro(c.iva), euro(c.totale)}, c.term);
        ASSERT_EQ(got.size(), c.expected.size());
        for (int i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].importo, c.expected[i].importo) << "instalment " << i + 1;
            EXPECT_EQ(got[i].scadenza, c.expected[i].scadenza) << "instalment " << i + 1;
        }
    }
}

TEST(InstalmentsTest, MoreThanFourInstalmentsAreRefusedNotLeftEmpty)
{
    try {
        accounts::assignInstalments({Feb10, euro("100"), euro("0"), euro("100")},
                                    term(5, PaymentTerm::normale(), PaymentTerm::dataFattura(), {30}));
        FAIL() << "a five-instalment term was accepted";
    } catch (const core::Error& refused) {
        EXPECT_EQ(refused.message(), QStringLiteral("Il numero delle rate deve essere compreso tra 1 e 4"));
        EXPECT_EQ(refused.kind(), core::Error::Kind::Refusal);
    }
}
