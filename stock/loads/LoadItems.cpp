#include "stock/loads/LoadItems.h"

#include "stock/loads/CaricoDialogo.h"

#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/Navigator.h"
#include "core/Session.h"
#include "stock/ItemLifecycle.h"

namespace carvendo::stock {

std::optional<core::Row> LoadItems::byBarcode(const QString& barcode, int idFornitore)
{
    const core::Rows rows = m_db.query(
        CaricoDialogo::itemQuery(QStringLiteral("a.BarcodeFull = :BARCODE LIMIT 1")),
        {{QStringLiteral("BARCODE"), barcode.trimmed()}, {QStringLiteral("IDFORNITORE"), idFornitore}});
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

core::Rows LoadItems::search(LoadItemSearch column, const QString& text)
{
    // The column comes from this fixed choice; the text is bound.
    const char* name = column == LoadItemSearch::Codice        ? "codarticolo"
                       : column == LoadItemSearch::Descrizione ? "descrizione"
                                                               : "codartforn";
    return m_db.query(
        QStringLiteral("select ID, CodArticolo, Descrizione, BarcodeFull, CODARTFORN, Fornitore, "
                       "PrezzoAcqnoiva, giacenza from articoli where %1 like :TEXT "
                       "ORDER BY Descrizione LIMIT 500")
            .arg(QLatin1String(name)),
        {{QStringLiteral("TEXT"), text.trimmed() + QLatin1Char('%')}});
}

int LoadItems::create(const core::Warehouse& warehouse, const QString& barcode, const QString& supplier)
{
    core::Transaction transaction(m_db);
    const int id = ItemLifecycle(m_db).createNew(warehouse);
    if (!barcode.isEmpty() || !supplier.isEmpty())
        m_db.exec(QStringLiteral("UPDATE articoli SET BarcodeFull = :BARCODE, UM = 'PZ', UMVENDITA = 'PZ', "
                                 "Tipologia = 'PRODOTTI', Fornitore = :FORNITORE WHERE ID = :ID"),
                  {{QStringLiteral("BARCODE"), barcode.trimmed().left(50)},
                   {QStringLiteral("FORNITORE"), supplier.left(50)},
                   {QStringLiteral("ID"), id}});
    transaction.commit();
    return id;
}

std::optional<int> LoadItems::createThroughCard(const core::Warehouse& warehouse)
{
    const int id = create(warehouse);
    const core::NavigationResult card =
        m_navigator.open(QStringLiteral("TArticolo"), id, m_caller, {{QStringLiteral("nuovo"), true}});
    if (!card.accepted) {
        ItemLifecycle(m_db).discardNew(id);
        return std::nullopt;
    }
    return id;
}

void LoadItems::offerCostUpdate(int idArticolo, core::Money netCost, core::Money previousCost)
{
    if (netCost == previousCost || !m_dialogs.confirm(costChangedQuestion()))
        return;
    m_db.exec(QStringLiteral("UPDATE articoli SET PrezzoAcqnoiva = :COSTO WHERE ID = :IDARTICOLO"),
              {{QStringLiteral("COSTO"), QVariant::fromValue(netCost)},
               {QStringLiteral("IDARTICOLO"), idArticolo}});
    m_navigator.open(QStringLiteral("TArticolo"), idArticolo, m_caller);
}

} // namespace carvendo::stock
