#include "registry/RegistryKind.h"

namespace carvendo::registry {

namespace {

// The list grid: the same headings over the columns of either table.
struct GridColumn
{
    const char* customers;
    const char* suppliers;
    const char* caption;
};

constexpr GridColumn kGrid[] = {{"idCliente", "id_fornitore", "Id"},
                                {"CodiceCliente", "Codice", "Codice"},
                                {"RagioneSociale", "RagSoc", "Ragione Sociale"},
                                {"Indirizzo", "IndirizzoLeg", "Indirizzo"},
                                {"Citta", "CittaLeg", "Città"},
                                {"ProvRes", "ProvLeg", "Prov."},
                                {"Cap", "CapLeg", "Cap"},
                                {"CodFisc", "CodFisc", "Codice Fiscale"},
                                {"pIva", "PIva", "Partita IVA"},
                                {"Telefono", "Telefono", "Telefono"},
                                {"Cellulare", "Cellulare", "Cellulare"},
                                {"email", "Email", "E-mail"}};

RegistryKind makeKind(RegistryKind::Which which)
{
    // Each name as the customers have it, then as the suppliers have it.
    const auto pick = [which](const char* customers, const char* suppliers) {
        return QString::fromUtf8(which == RegistryKind::Which::Customers ? customers : suppliers);
    };
    const auto pickList = [&](const char* customers, const char* suppliers) {
        return pick(customers, suppliers).split(QLatin1Char(' '));
    };
    RegistryKind kind;
    kind.which = which;
    kind.table = pick("clienti", "fornitori");
    kind.key = pick("idCliente", "id_fornitore");
    kind.codeColumn = pick("CodiceCliente", "Codice");
    kind.nameColumn = pick("RagioneSociale", "RagSoc");
    kind.taxCodeColumn = pick("CodFisc", "CodFisc");
    kind.vatColumn = pick("pIva", "PIva");
    kind.cardWindow = pick("TCliente", "TFornitore");
    kind.listWindow = pick("TClienti", "TFornitori");
    kind.layoutWord = pick("Clienti", "Fornitori");
    kind.exportProgressLabel = pick("Esportazione clienti in corso...", "Esportazione fornitori in corso...");
    kind.deleteQuestion = pick("Eliminare il cliente?", "Eliminare il fornitore?");
    kind.goneMessage =
        pick("Il cliente non esiste più: può essere stato eliminato da un'altra postazione.",
             "Il fornitore non esiste più: può essere stato eliminato da un'altra postazione.");
    kind.goneOnSaveMessage = pick("Il cliente non esiste più: le modifiche non sono state salvate",
                                  "Il fornitore non esiste più: le modifiche non sono state salvate");
    kind.emailColumns = pickList("email", "Email emailAgente");
    kind.addressColumns = pickList("Indirizzo Citta ProvRes", "IndirizzoLeg CittaLeg ProvLeg");
    for (const GridColumn& column : kGrid) {
        kind.gridColumns << pick(column.customers, column.suppliers);
        kind.gridCaptions << QString::fromUtf8(column.caption);
    }
    return kind;
}

} // namespace

const RegistryKind& RegistryKind::customers()
{
    static const RegistryKind kind = makeKind(Which::Customers);
    return kind;
}

const RegistryKind& RegistryKind::suppliers()
{
    static const RegistryKind kind = makeKind(Which::Suppliers);
    return kind;
}

} // namespace carvendo::registry
