#include "accounts/Instalments.h"

#include "accounts/PaymentTerm.h"
#include "core/Error.h"

namespace carvendo::accounts {

namespace {

QDate startingDate(const QDate& data, const QString& decorrenza)
{
    if (decorrenza == PaymentTerm::fineMese())
        return QDate(data.year(), data.month(), data.daysInMonth());
    return data;
}

int daysOf(const PaymentTerm& term, int index)
{
    if (term.rate.isEmpty())
        return 0;
    return term.rate.value(index, term.rate.last()).giorni;
}

} // namespace

QList<Instalment> assignInstalments(const InstalmentBasis& basis, const PaymentTerm& term)
{
    const int n = term.nrRate;
    // A term of more than four instalments would leave the document without any.
    if (n < 1 || n > PaymentTerm::MaxRate)
        throw core::Error(PaymentTerm::tooManyInstalmentsMessage(), core::Error::Kind::Refusal);
    const QDate start = startingDate(basis.data, term.tipoDecorrenza);
    const core::Money divisor = core::Money::fromInt(n);
    const bool ivaFirst = n > 1 && term.tipoRate == PaymentTerm::ivaPrimaRata();
    QList<Instalment> instalments;
    core::Money assigned;
    for (int i = 0; i < n; ++i) {
        core::Money importo;
        if (i == n - 1)
            importo = basis.totale - assigned; // the rounding of the others ends up here: they add up
        else if (ivaFirst)
            importo = basis.imponibile.dividedBy(divisor) + (i == 0 ? basis.ivaTotale : core::Money());
        else
            importo = basis.totale.dividedBy(divisor);
        assigned = assigned + importo;
        instalments.append({importo, start.addDays(daysOf(term, i))});
    }
    return instalments;
}

} // namespace carvendo::accounts
