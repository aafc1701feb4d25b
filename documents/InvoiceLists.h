#pragma once

#include "core/Navigator.h"
#include "core/Rows.h"

#include <QStringList>

namespace carvendo::core {
class Db;
} // namespace carvendo::core

namespace carvendo::documents {

// The lists a document header chooses from. Each has its one statement here.
enum class HeaderList
{
    Suffissi,   // `suffissi_doc`
    Causali,    // the general reasons
    Pagamenti,  // payment terms by description
    Vettori,    // carriers
    Aspetti,    // appearance of goods
    Spedizioni, // means of shipment
    Porti,      // freight terms
};

class InvoiceLists
{
public:
    explicit InvoiceLists(core::Db& db) : m_db(db) {}

    QStringList texts(HeaderList list);
    // The banks: `idBanca` and the text the invoice keeps in `BancaAppoggio`.
    core::Rows banks();
    // Withholding types (`ritenute_acconto`): id, codice, descrizione, percentuale.
    core::Rows withholdings();
    // What TRitenutaAccontoLista gives back for the chosen row: "percentuale", "descrizione", "codice".
    static core::NavigationResult withholdingChoice(const core::Rows& rows, int row);

    // "Nuovo Vettore" and "Nuova Causale".
    void addCarrier(const QString& name);
    void addReason(const QString& text);

private:
    core::Db& m_db;
};

} // namespace carvendo::documents
