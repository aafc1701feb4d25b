#include "stock/serials/SerialReconciliation.h"

#include "stock/serials/SerialStock.h"

#include "core/Db.h"

namespace carvendo::stock {

core::Rows serialStockMismatches(core::Db& db)
{
    // One pass over stock rows and serials of the serial-tracked items, matched by item and warehouse:
    // a side with no row counts as zero.
    return db.query(
        QStringLiteral(
            "SELECT a.ID AS idArticolo, a.CodArticolo, a.Descrizione, k.idMagazzino, "
            "COALESCE(NULLIF(k.Magazzino, ''), m.Descrizione, '') AS Magazzino, k.Giacenza, "
            "k.Seriali, k.Seriali - k.Giacenza AS Differenza FROM ("
            "SELECT u.idArticolo, u.idMagazzino, MAX(u.Magazzino) AS Magazzino, "
            "ROUND(SUM(u.Giacenza), 3) AS Giacenza, SUM(u.Seriali) AS Seriali FROM ("
            "SELECT g.idarticolo AS idArticolo, g.idmagazzino AS idMagazzino, g.magazzino AS Magazzino, "
            "IFNULL(g.giacenza, 0) AS Giacenza, 0 AS Seriali FROM giacenze g "
            "JOIN articoli ga ON ga.ID = g.idarticolo AND ga.Seriale <> 0 "
            "UNION ALL SELECT s.idArticolo, s.idMagazzino, MAX(s.Magazzino), 0, COUNT(*) FROM seriali s "
            "JOIN articoli sa ON sa.ID = s.idArticolo AND sa.Seriale <> 0 WHERE ") +
        SerialStock::sellableCondition(QStringLiteral("s")) +
        QStringLiteral(" GROUP BY s.idArticolo, s.idMagazzino) u GROUP BY u.idArticolo, u.idMagazzino) k "
                       "JOIN articoli a ON a.ID = k.idArticolo "
                       "LEFT JOIN magazzini m ON m.idMagazzino = k.idMagazzino "
                       "WHERE k.Giacenza <> k.Seriali ORDER BY a.Descrizione, a.ID, k.idMagazzino"));
}

} // namespace carvendo::stock
