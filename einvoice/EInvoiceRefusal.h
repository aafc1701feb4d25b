#pragma once

#include "core/Error.h"

namespace carvendo::einvoice {

// An invoice whose file the exchange system would refuse, or that cannot be made: the message names
// the invoice and the field ("Fattura 7/2026: la riga 3 ha aliquota 0% senza natura IVA"). Nothing
// is written when it is raised.
class EInvoiceRefusal : public core::Error
{
public:
    EInvoiceRefusal(const QString& invoice, const QString& problem)
        : core::Error(invoice + QStringLiteral(": ") + problem, Kind::Refusal)
    {
    }
};

} // namespace carvendo::einvoice
