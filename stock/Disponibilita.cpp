#include "stock/Disponibilita.h"

#include "core/Db.h"

namespace carvendo::stock {

void Disponibilita::open(int idArticolo)
{
    m_idArticolo = idArticolo;
    m_warehouse.clear();
    const core::Rows item =
        m_db.query(QStringLiteral("SELECT CodArticolo, Descrizione FROM articoli WHERE ID = :IDARTICOLO"),
                   {{QStringLiteral("IDARTICOLO"), idArticolo}});
    m_itemCaption = item.isEmpty() ? QString()
                                   : item.value(0, "CodArticolo").toString() + QStringLiteral(" - ") +
                                         item.value(0, "Descrizione").toString();
    load();
}

void Disponibilita::filterByWarehouse(const QString& magazzino)
{
    m_warehouse = magazzino.trimmed();
    load();
}

QStringList Disponibilita::warehouseNames()
{
    QStringList names;
    for (const core::Row row :
         m_db.query(QStringLiteral("SELECT Descrizione FROM magazzini ORDER BY Descrizione")))
        names.append(row["Descrizione"].toString());
    return names;
}

void Disponibilita::load()
{
    core::Params params{{QStringLiteral("IDARTICOLO"), m_idArticolo}};
    QString sql = QStringLiteral("SELECT * FROM giacenze WHERE idarticolo = :IDARTICOLO");
    if (!m_warehouse.isEmpty()) {
        sql += QStringLiteral(" AND magazzino = :MAGAZZINO");
        params.insert(QStringLiteral("MAGAZZINO"), m_warehouse);
    }
    m_rows = m_db.query(sql + QStringLiteral(" ORDER BY magazzino, idmagazzino"), params);
}

} // namespace carvendo::stock
