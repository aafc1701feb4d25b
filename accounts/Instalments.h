#pragma once

#include "core/Money.h"

#include <QDate>
#include <QList>

namespace carvendo::accounts {

struct PaymentTerm;

// One dated instalment of a document (`PRATAi`, `DRATAi`).
struct Instalment
{
    core::Money importo;
    QDate scadenza;

    bool operator==(const Instalment&) const = default;
};

// What a document is paid in: its date and totals.
struct InstalmentBasis
{
    QDate data;
    core::Money imponibile;
    core::Money ivaTotale;
    core::Money totale;
};

// The instalments a term gives a document, at most four. Amounts are each division rounded to the
// ten-thousandth, ties to even, and the last one is the total minus the others, so they always add
// up to the document's total (100 in three: 33,3333 + 33,3333 + 33,3334). The starting date is
// the document date ("Data Fattura", and "Immediata", which has no other), or the month's last day
// ("Fine mese"); a term with fewer rows than instalments repeats its last row's days, and one
// without rows gives 0 days. A term with no instalments or more than four is refused.
QList<Instalment> assignInstalments(const InstalmentBasis& basis, const PaymentTerm& term);

} // namespace carvendo::accounts
