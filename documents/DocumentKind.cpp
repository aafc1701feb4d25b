#include "documents/DocumentKind.h"

#include "accounts/Deadlines.h"

#include <array>
#include <stdexcept>

namespace carvendo::documents {

namespace {

using K = DocumentKindId;
using C = Counterpart;
using S = StockEffect;
using B = AmountBasis;
using F = core::DocumentFolder;
using D = accounts::DeadlineDocument;

// clang-format off
// What a new immediate invoice starts with: a sale, one parcel, no deadlines yet.
const CreationValue invoiceCreation[] = {
    {"Causale", "Vendita"}, {"TipoDoc", "Fattura"}, {"DocProven", "I"}, {"Colli", "1"}, {"SpeseSped", "0"},
    {"Scadenzario", "0"}, {"ScadGenerata", "0"}, {"Preventivo", "0"}, {nullptr, nullptr}};
const CreationValue deferredCreation[] = {
    {"Causale", "Vendita"}, {"TipoDoc", "Fattura"}, {"DocProven", "D"}, {"Scadenzario", "0"},
    {"ScadGenerata", "0"}, {nullptr, nullptr}};

const std::array<DocumentKind, 7> kinds{{
    {K::FatturaImmediata, "Fattura immediata", "idFattura", "dettfattura", "idFattura", "NumDoc", "Natura",
     &core::Series::Fattura, "imponibile", "ivatotale", "totaledocumento", "TipoFattura", "I",
     C::Customer, S::Unload, B::Sale, "Fattura", "Fattura", "Fattura Immediata", &D::invoiceKind, "Fattura", F::Fatture, "Fattura_Nr.", "Fattura",
     "FatturaImmediata", "FATTURA_I", invoiceCreation, true, true, "FATTURA_I"},
    {K::FatturaDifferita, "Fattura differita", "idFattura", "dettfattura", "idFattura", "NumDoc", "Natura",
     &core::Series::Fattura, "imponibile", "ivatotale", "totaledocumento", "TipoFattura", "D",
     C::Customer, S::None, B::Sale, nullptr, nullptr, "Fattura Differita", &D::invoiceKind, "FatturaDifferita", F::Fatture, "Fattura_Nr.", "Fattura",
     "FatturaDifferita", nullptr, deferredCreation, false, true, "FATTURA_D"},
    {K::Ddt, "Documento di trasporto", "idDdt", "dettddt", "idDdt", "NumDoc", nullptr,
     &core::Series::Ddt, "imponibile", "ivatotale", "totaledocumento", nullptr, nullptr,
     C::Customer, S::Unload, B::Sale, "Ddt", "Ddt", nullptr, &D::deliveryNoteKind, "Ddt", F::DDT, "Ddt_Nr.", "Ddt",
     "DettDdt", nullptr, nullptr, true, false, nullptr},
    {K::NotaCredito, "Nota di credito", "id", "dettnotecredito", "idNoteCredito", "Numero", nullptr,
     &core::Series::NotaCredito, "Imponibile", "Iva", "Totale", nullptr, nullptr,
     C::Customer, S::Load, B::Sale, nullptr, nullptr, nullptr, nullptr, "NotaCredito", F::Fatture, "Nota_Credito_Nr.",
     "Nota_Credito_Nr", "NotaCredito", nullptr, nullptr, false, false, nullptr},
    {K::Preventivo, "Preventivo", "idPreventivo", "dettpreventivo", "idPreventivo", "NumDoc", nullptr,
     &core::Series::Preventivo, "imponibile", "ivatotale", "totaledocumento", nullptr, nullptr,
     C::Customer, S::None, B::Sale, nullptr, nullptr, nullptr, nullptr, "Preventivo", F::Preventivi, "Preventivo_Nr.",
     "Preventivo", "Preventivo", nullptr, nullptr, false, false, nullptr},
    {K::OrdineCliente, "Ordine cliente", "idOrdine", "dettordineciente", "idOrdineCliente",
     "NumDoc", nullptr, &core::Series::OrdineCliente, "imponibile", "ivatotale", "totaledocumento", nullptr, nullptr,
     C::Customer, S::Reserve, B::Sale, nullptr, nullptr, nullptr, nullptr, "OrdineCliente", F::Acquisti, "Ordine_Cliente_Nr.",
     "Ordine Cliente", "OrdineCliente", nullptr, nullptr, false, false, nullptr},
    {K::OrdineFornitore, "Ordine fornitore", "idOrdine", "dettordinefornitore",
     "idOrdineFornitore", "NumDoc", nullptr, &core::Series::OrdineFornitore, "imponibile", "ivatotale",
     "totaledocumento", nullptr, nullptr,
     C::Supplier, S::None, B::Purchase, nullptr, nullptr, nullptr, nullptr, "OrdineFornitore", F::Acquisti, "Ordine_Nr.", "Ordine",
     "OrdineFornitore", nullptr, nullptr, false, false, nullptr},
}};
// clang-format on

} // namespace

const DocumentKind& DocumentKind::of(DocumentKindId id)
{
    for (const DocumentKind& kind : kinds)
        if (kind.id == id)
            return kind;
    throw std::logic_error("unknown document kind");
}

} // namespace carvendo::documents
