#include "stock/ItemLifecycle.h"

#include "core/Db.h"
#include "core/Session.h"
#include "core/StoredProcedures.h"

namespace carvendo::stock {

namespace {

// The columns a copy of an item carries over. Codes, barcode and the stock mirror come along
// unchanged; markup and margin percent, the sale price excluding VAT and the shop-side options
// (obsolete, VAT-exempt, points, constraint, promotion amount, operator pack, selection) start
// empty on the copy.
const char* const CopiedColumns =
    "`CodArticolo`, `BarcodeFull`, `Barcode`, `BarcodeInt`, `CODARTFORN`, `Descrizione`, `TestoEsteso`, "
    "`descrestesa`, `NOTE`, `Categoria`, `SubCategoria`, `Tipologia`, `ClasseMerc`, `Marchio`, `Linea`, "
    "`Stagione`, `GruppoTaglia`, `idgruppoTaglia`, `Fornitore`, `UM`, `UMVENDITA`, `Porzioni`, `PorzValore`, "
    "`Aliquota`, `AliquotaDesc`, `idreparto`, `reparto`, `repartodesc`, `PrezzoAcqnoiva`, `PrezzoAcquisto`, "
    "`scontoacq1`, `scontoacq2`, `acquistoscontato`, `LastAcquisto`, `Utile`, `Sconto`, `Ricarico`, "
    "`PrezzoVendita`, `Pubblico`, `RICARICO1`, `RICARICO2`, `RICARICO3`, `Listino1`, `Listino2`, `Listino3`, "
    "`PrezzoVendnoiva2`, `PrezzoVendnoiva3`, `Scorta`, `giacenza`, `Disponibilita`, `Seriale`, `TC`, "
    "`Promozione`, `IdPromozione`, `sottosc`, `Ordinato`, `ETICHETTE`, `Immagine`, `tipofile`, "
    "`DataCreazione`, `attivo`, `pubblicato`, `genere`, `editore`, `autore`, `collana`, `isbn`, "
    "`codiceproduttore`, `pubblicazione`";

} // namespace

ItemLifecycle::ItemLifecycle(core::Db& db) : m_db(db) {}

void ItemLifecycle::addStockRow(int idArticolo, const core::Warehouse& current)
{
    core::StoredProcedures(m_db).caricoMagazzinoInsert(idArticolo, current.id, current.name, 0);
}

int ItemLifecycle::createNew(const core::Warehouse& current)
{
    core::Transaction transaction(m_db);
    // The item takes the first department and that department's VAT rate, so it is never born at
    // a rate the shop no longer has; 21 only when there is no department at all.
    m_db.exec(QStringLiteral(
        "INSERT INTO articoli (Seriale, TC, Promozione, Aliquota, UM, UMVENDITA, Tipologia, giacenza, "
        "Disponibilita, Scorta, PrezzoAcqnoiva, PrezzoAcquisto, Pubblico, PrezzoVendnoiva, Listino2, "
        "PrezzoVendnoiva2, Listino3, PrezzoVendnoiva3, RICARICO1, RICARICO2, RICARICO3, idreparto, reparto, "
        "repartodesc) "
        "SELECT FALSE, FALSE, FALSE, COALESCE(r.aliquota, 21), 'PZ', 'PZ', 'PRODOTTI', 0, 0, 0, 0, 0, 0, 0, "
        "0, "
        "0, 0, 0, 0, 0, 0, r.idreparto, r.reparto, r.descrizione "
        "FROM (SELECT 1 AS uno) AS sempre "
        "LEFT JOIN (SELECT idreparto, reparto, descrizione, aliquota FROM reparti ORDER BY idreparto LIMIT "
        "1) AS r "
        "ON TRUE"));
    const int id = int(m_db.lastInsertId());
    addStockRow(id, current);
    transaction.commit();
    return id;
}

int ItemLifecycle::duplicate(int idArticolo, const core::Warehouse& current)
{
    core::Transaction transaction(m_db);
    const QString columns = QString::fromLatin1(CopiedColumns);
    const qint64 copied =
        m_db.exec(QStringLiteral("INSERT INTO articoli (%1) SELECT %1 FROM articoli WHERE ID = :IDARTICOLO")
                      .arg(columns),
                  {{QStringLiteral("IDARTICOLO"), idArticolo}});
    if (copied == 0)
        return 0;
    const int id = int(m_db.lastInsertId());
    addStockRow(id, current);
    transaction.commit();
    return id;
}

void ItemLifecycle::remove(int idArticolo)
{
    const core::Params item{{QStringLiteral("IDARTICOLO"), idArticolo}};
    core::Transaction transaction(m_db);
    m_db.exec(QStringLiteral("DELETE FROM giacenze WHERE idarticolo = :IDARTICOLO"), item);
    m_db.exec(QStringLiteral("DELETE FROM articoli WHERE ID = :IDARTICOLO"), item);
    transaction.commit();
}

void ItemLifecycle::discardNew(int idArticolo)
{
    // The card's supplier tab writes its rows at once: a card left unsaved takes them away with it.
    core::Transaction transaction(m_db);
    m_db.exec(QStringLiteral("DELETE FROM articoli_fornitori WHERE idArticolo = :IDARTICOLO"),
              {{QStringLiteral("IDARTICOLO"), idArticolo}});
    remove(idArticolo);
    transaction.commit();
}

} // namespace carvendo::stock
