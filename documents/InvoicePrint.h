#pragma once

#include <QString>

namespace carvendo::documents {

// The printed variants of an invoice, as its list and its window offer them.
enum class InvoicePrint
{
    Plain,       // "Fattura"
    WithSerials, // "con seriali": each row followed by its serials
    WithSizes    // "con Taglie e Colori": each row followed by its sizes
};

// The template each variant prints with.
inline QString invoiceTemplate(InvoicePrint variant)
{
    switch (variant) {
    case InvoicePrint::WithSerials:
        return QStringLiteral("FatturaSeriali");
    case InvoicePrint::WithSizes:
        return QStringLiteral("FatturaTC");
    case InvoicePrint::Plain:
        break;
    }
    return QStringLiteral("Fattura");
}

} // namespace carvendo::documents
