#include "stock/StockRealignment.h"

#include "core/Db.h"
#include "core/Session.h"
#include "core/StoredProcedures.h"

#include <cmath>

namespace carvendo::stock {

namespace {

// A summed quantity as a whole number: the nearest one, halves to even; no rows is 0.
qint64 wholeNumber(const core::Field& sum)
{
    return sum.isNull() ? 0 : qint64(std::nearbyint(sum.toDouble()));
}

} // namespace

StockFigures StockRealignment::figures(int idArticolo, int idMagazzino)
{
    const core::Rows sums = m_db.query(
        QStringLiteral("SELECT (SELECT SUM(quantita) FROM acquisti WHERE idarticolo = :IDARTICOLO AND "
                       "idmagazzino = :IDMAGAZZINO) "
                       "AS CARICATO, "
                       "(SELECT SUM(quantita) FROM venduti WHERE idarticolo = :IDARTICOLO AND idmagazzino = "
                       ":IDMAGAZZINO) "
                       "AS VENDUTO, "
                       "(SELECT SUM(quantita) FROM dettreso WHERE idarticolo = :IDARTICOLO AND idmagazzino = "
                       ":IDMAGAZZINO) "
                       "AS RESO"),
        {{QStringLiteral("IDARTICOLO"), idArticolo}, {QStringLiteral("IDMAGAZZINO"), idMagazzino}});
    StockFigures out;
    out.caricato = wholeNumber(sums.value(0, "CARICATO"));
    out.venduto = wholeNumber(sums.value(0, "VENDUTO"));
    out.reso = wholeNumber(sums.value(0, "RESO"));
    return out;
}

StockFigures StockRealignment::realign(int idArticolo, const core::Warehouse& warehouse)
{
    // The stock row is locked before the sums are read, and the sums are the transaction's first
    // plain read: a sale, load or return committed while this waited is counted, and one still
    // under way moves the row by its own quantity after this has written. Read outside the lock,
    // the sums would miss a sale posted in between and the absolute figure would overwrite it.
    core::Transaction transaction(m_db);
    const core::Params row{{QStringLiteral("IDAR"), idArticolo}, {QStringLiteral("IDM"), warehouse.id}};
    const bool exists = !m_db.query(QStringLiteral("SELECT id FROM giacenze WHERE idarticolo = :IDAR AND "
                                                   "idmagazzino = :IDM FOR UPDATE"),
                                    row)
                             .isEmpty();
    // An item without a row in this warehouse gets one (under the lock of its key), rather than an
    // update that silently changes nothing.
    if (!exists)
        core::StoredProcedures(m_db).caricoMagazzinoInsert(idArticolo, warehouse.id, warehouse.name, 0);
    const StockFigures out = figures(idArticolo, warehouse.id);
    core::Params stock = row;
    stock.insert(QStringLiteral("GIAC"), double(out.stock()));
    m_db.exec(QStringLiteral("UPDATE giacenze SET giacenza = :GIAC, disponibilita = :GIAC "
                             "WHERE idarticolo = :IDAR AND idmagazzino = :IDM"),
              stock);
    transaction.commit();
    return out;
}

} // namespace carvendo::stock
