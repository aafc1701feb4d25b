#include "einvoice/InvoiceFigures.h"

#include "core/Rows.h"

#include <algorithm>
#include <map>

namespace carvendo::einvoice {

namespace {

const Money Cent = Money::fromUnits(Money::Scale / 100);

// Exempt, excluded and not taxable operations pay the stamp duty; exports (N3.1 to N3.4), reverse
// charge (N6) and VAT paid in another country (N7) do not.
bool bearsStampDuty(const QString& nature)
{
    if (nature.isEmpty())
        return false;
    static const QStringList without{QStringLiteral("N3.1"), QStringLiteral("N3.2"), QStringLiteral("N3.3"),
                                     QStringLiteral("N3.4"), QStringLiteral("N7")};
    return !without.contains(nature) && !nature.startsWith(QLatin1String("N6"));
}

// Spreads amount over the weights in cents: each share rounded down, the cents left to the largest
// remainders (the first row on a tie), so the shares add up exactly.
QList<Money> spread(Money amount, const QList<Money>& weights)
{
    QList<Money> shares(weights.size());
    qint64 sum = 0; // in cents, as the weights are
    for (const Money weight : weights)
        sum += weight.units() / Cent.units();
    if (sum == 0 || amount.isZero())
        return shares;
    const qint64 cents = amount.units() / Cent.units();
    qint64 given = 0;
    std::vector<std::pair<qint64, int>> remainders; // remainder, row
    for (int i = 0; i < weights.size(); ++i) {
        const qint64 exact = cents * (weights[i].units() / Cent.units());
        const qint64 share = exact / sum;
        remainders.emplace_back(exact % sum, i);
        shares[i] = Money::fromUnits(share * Cent.units());
        given += share;
    }
    std::stable_sort(remainders.begin(), remainders.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (qint64 i = 0; i < cents - given && i < qint64(remainders.size()); ++i)
        shares[remainders[size_t(i)].second] += Cent;
    return shares;
}

// Each row's taxable amount in cents less its share of the document discount (set into discount).
QList<Money> discountedTotals(const QList<InvoiceLine>& lines, Money discountPercent, Money& discount)
{
    QList<Money> totals;
    Money taxable;
    for (const InvoiceLine& line : lines) {
        totals << line.total.roundedToCents();
        taxable += totals.back();
    }
    discount = taxable.percent(discountPercent).roundedToCents();
    const QList<Money> shares = spread(discount, totals);
    for (int i = 0; i < totals.size(); ++i)
        totals[i] -= shares[i];
    return totals;
}

StampDutyDue stampDutyOver(const QList<InvoiceLine>& lines, const QList<Money>& totals,
                           const StampDuty& settings)
{
    if (settings.keptByInvoice)
        return {settings.amount.roundedToCents(), settings.chargedToCustomer};
    Money exempt;
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i].rate == 0 && bearsStampDuty(lines[i].nature))
            exempt += totals[i];
    if (exempt <= settings.threshold || settings.amount.isZero())
        return {};
    return {settings.amount.roundedToCents(), settings.chargedToCustomer};
}

} // namespace

StampDutyDue StampDutyDue::of(const QList<InvoiceLine>& lines, Money discountPercent,
                              const StampDuty& settings)
{
    Money discount;
    return stampDutyOver(lines, discountedTotals(lines, discountPercent, discount), settings);
}

std::optional<StampDutyDue> StampDutyDue::keptBy(const core::Row& header)
{
    if (header[u"ImportoBollo"].isNull())
        return std::nullopt;
    const Money amount = header[u"ImportoBollo"].toMoney().roundedToCents();
    return StampDutyDue{amount, !amount.isZero() && header[u"BolloACaricoCliente"].toBool()};
}

InvoiceFigures InvoiceFigures::of(const InvoiceData& invoice)
{
    InvoiceFigures figures;
    const QList<Money> totals = discountedTotals(invoice.lines, invoice.discountPercent, figures.discount);

    Money withheldBase;
    for (int i = 0; i < invoice.lines.size(); ++i) {
        const InvoiceLine& line = invoice.lines[i];
        FileLine fileLine{&line,
                          line.description,
                          totals[i],
                          line.rate,
                          line.nature,
                          line.legalReference,
                          invoice.withholding.has_value()};
        if (fileLine.withheld)
            withheldBase += fileLine.total;
        figures.lines << fileLine;
    }
    const StampDutyDue stampDuty = stampDutyOver(invoice.lines, totals, invoice.stampDuty);
    figures.stampDuty = stampDuty.applies();
    if (!stampDuty.charged().isZero()) {
        figures.lines << FileLine{nullptr,
                                  QStringLiteral("Imposta di bollo"),
                                  stampDuty.charged(),
                                  0,
                                  QStringLiteral("N1"),
                                  QStringLiteral("Escluso art. 15 DPR 633/72"),
                                  false};
    }
    if (invoice.withholding)
        figures.withholding = withheldBase.percent(invoice.withholding->percent).roundedToCents();

    std::map<std::pair<int, QString>, FileSummary> byRate; // (-rate, nature): highest rate first
    for (const FileLine& line : figures.lines) {
        FileSummary& summary = byRate[{-line.rate, line.nature}];
        summary.rate = line.rate;
        summary.nature = line.nature;
        if (summary.legalReference.isEmpty())
            summary.legalReference = line.legalReference;
        summary.taxable += line.total;
    }
    for (auto& [key, summary] : byRate) {
        summary.tax = summary.taxable.percent(Money::fromInt(summary.rate)).roundedToCents();
        figures.total += summary.taxable + summary.tax;
        figures.summaries << summary;
    }

    // The stored instalments are the term's shares, not adjusted to the total: in cents, the last
    // one takes what makes them add up to what the customer pays.
    const Money due = figures.total - figures.withholding;
    Money paid;
    for (int i = 0; i < invoice.instalments.size(); ++i) {
        const bool last = i == invoice.instalments.size() - 1;
        const Money amount = last ? due - paid : invoice.instalments[i].amount.roundedToCents();
        figures.payments << FilePayment{amount, invoice.instalments[i].due};
        paid += amount;
    }
    if (figures.payments.isEmpty() && !invoice.paymentCode.isEmpty())
        figures.payments << FilePayment{due, {}};
    return figures;
}

} // namespace carvendo::einvoice
