#include "stock/AnalisiMagazzino.h"

#include "core/Dialogs.h"

namespace carvendo::stock {

namespace sellout {

core::Rows byItem(core::Db& db)
{
    return db.query(QStringLiteral(
        "SELECT a.ID AS idArticolo, a.CodArticolo, a.Descrizione, v.VENDUTO, c.CARICATO, "
        "v.VENDUTO * 100 / c.CARICATO AS SELLOUT "
        "FROM (SELECT idArticolo, SUM(quantita) AS VENDUTO FROM venduti GROUP BY idArticolo) v "
        "JOIN (SELECT idarticolo, SUM(quantita) AS CARICATO FROM acquisti GROUP BY idarticolo) c "
        "ON c.idarticolo = v.idArticolo "
        "JOIN articoli a ON a.ID = v.idArticolo "
        "WHERE c.CARICATO <> 0 "
        "ORDER BY a.Descrizione, a.ID"));
}

core::Rows bySizeAndColour(core::Db& db)
{
    return db.query(QStringLiteral(
        "SELECT a.ID AS idArticolo, a.CodArticolo, a.Descrizione, v.Colore, v.Taglia, v.VENDUTO, c.CARICATO, "
        "v.VENDUTO * 100 / c.CARICATO AS SELLOUT "
        "FROM (SELECT idArticolo, Colore, Taglia, SUM(quantita) AS VENDUTO FROM venduti "
        "WHERE Colore <> '' AND Taglia <> '' GROUP BY idArticolo, Colore, Taglia) v "
        "JOIN (SELECT idarticolo, colore, taglia, SUM(quantita) AS CARICATO FROM caricotcdoc "
        "GROUP BY idarticolo, colore, taglia) c "
        "ON c.idarticolo = v.idArticolo AND c.colore = v.Colore AND c.taglia = v.Taglia "
        "JOIN articoli a ON a.ID = v.idArticolo "
        "WHERE c.CARICATO <> 0 "
        "ORDER BY a.Descrizione, a.ID, v.Colore, v.Taglia"));
}

core::Rows unsoldItems(core::Db& db)
{
    return db.query(QStringLiteral("SELECT a.ID AS idArticolo, a.CodArticolo, a.Descrizione FROM articoli a "
                                   "WHERE NOT EXISTS (SELECT 1 FROM venduti v WHERE v.idArticolo = a.ID) "
                                   "ORDER BY a.Descrizione, a.ID"));
}

} // namespace sellout

AnalisiMagazzino::AnalisiMagazzino(core::ConnectionSettings settings, core::Dialogs& dialogs,
                                   core::JobRunner runner, QObject* parent)
    : QObject(parent), m_settings(std::move(settings)), m_dialogs(dialogs), m_runner(std::move(runner))
{
}

bool AnalisiMagazzino::compute()
{
    core::Rows sellOut;
    core::Rows bySizeAndColour;
    core::Rows unsold;
    try {
        m_runner(QStringLiteral("Analisi del venduto in corso..."),
                 [&](const std::function<void(int)>& progress) {
                     core::Db db(m_settings);
                     db.open();
                     sellOut = sellout::byItem(db);
                     progress(40);
                     bySizeAndColour = sellout::bySizeAndColour(db);
                     progress(70);
                     unsold = sellout::unsoldItems(db);
                     progress(100);
                 });
    } catch (const core::DbError& failure) {
        m_dialogs.error(failure.message());
        return false;
    }
    m_sellOut = sellOut;
    m_bySizeAndColour = bySizeAndColour;
    m_unsold = unsold;
    emit rowsChanged();
    return true;
}

} // namespace carvendo::stock
