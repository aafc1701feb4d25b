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
    const StockFigures out = figures(idArticolo, warehouse.id);
    const double stock = double(out.stock());
    core::Transaction transaction(m_db);
    const qint64 matched =
        m_db.exec(QStringLiteral("UPDATE giacenze SET giacenza = :GIAC, disponibilita = :GIAC "
                                 "WHERE idarticolo = :IDAR AND idmagazzino = :IDM"),
                  {{QStringLiteral("GIAC"), stock},
                   {QStringLiteral("IDAR"), idArticolo},
                   {QStringLiteral("IDM"), warehouse.id}});
    // An item without a row in this warehouse gets one holding its stock, rather than an update
    // that silently changes nothing.
    if (matched == 0)
        core::StoredProcedures(m_db).caricoMagazzinoInsert(idArticolo, warehouse.id, warehouse.name, stock);
    transaction.commit();
    return out;
}

} // namespace carvendo::stock
