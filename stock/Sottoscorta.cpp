#include "stock/Sottoscorta.h"

#include "core/Clock.h"
#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/ReportOutput.h"

namespace carvendo::stock {

qint64 UnderStockList::rebuild()
{
    // The same row SOTTOSCORTA writes for one item (texts cut to the row's widths, the supplier's
    // key found by name, the lowest key when two share it), for every item at once. The barcode is
    // the item's full one: the short `Barcode` column is empty for items made by this program.
    const core::Params owner{{QStringLiteral("PROPRIETARIO"), m_owner}};
    core::Transaction transaction(m_db);
    m_db.exec(QStringLiteral("DELETE FROM sottoscorta WHERE proprietario = :PROPRIETARIO"), owner);
    const qint64 made = m_db.exec(
        QStringLiteral(
            "INSERT INTO sottoscorta (codart, descrizione, barcode, idarticolo, data, qtaordine, "
            "idfornitore, "
            "fornitore, giacenza, scorta, prezzoacquisto, um, aliquota, proprietario) "
            "SELECT LEFT(a.CodArticolo, 50), LEFT(a.Descrizione, 50), LEFT(a.BarcodeFull, 50), a.ID, "
            "CURRENT_DATE, QTA_DA_ORDINARE(IFNULL(a.giacenza, 0), IFNULL(a.Scorta, 0)), "
            "IFNULL(f.id_fornitore, 0), LEFT(a.Fornitore, 50), IFNULL(a.giacenza, 0), IFNULL(a.Scorta, 0), "
            "a.PrezzoAcquisto, LEFT(a.UM, 10), a.Aliquota, :PROPRIETARIO "
            "FROM articoli a "
            "LEFT JOIN (SELECT fo.RagSoc, MIN(fo.id_fornitore) AS id_fornitore FROM fornitori fo "
            "GROUP BY fo.RagSoc) f ON f.RagSoc = a.Fornitore "
            "WHERE a.giacenza <= a.Scorta "
            "ORDER BY a.ID"),
        owner);
    transaction.commit();
    return made;
}

Sottoscorta::Sottoscorta(core::Db& db, const core::Clock& clock, core::Dialogs& dialogs,
                         core::ReportOutput& reports)
    : m_db(db), m_clock(clock), m_dialogs(dialogs), m_reports(reports)
{
}

void Sottoscorta::open()
{
    UnderStockList(m_db, m_workRows.owner()).rebuild();
    m_supplier.clear();
    load();
}

void Sottoscorta::filterBySupplier(const QString& fornitore)
{
    m_supplier = fornitore;
    load();
}

QStringList Sottoscorta::suppliers()
{
    QStringList names;
    for (const core::Row row : m_db.query(
             QStringLiteral("SELECT DISTINCT fornitore FROM sottoscorta WHERE proprietario = :PROPRIETARIO "
                            "AND IFNULL(fornitore, '') <> '' ORDER BY fornitore"),
             {{QStringLiteral("PROPRIETARIO"), m_workRows.owner()}}))
        names.append(row["fornitore"].toString());
    return names;
}

bool Sottoscorta::setQuantityToOrder(int id, int quantity)
{
    if (quantity < 0) {
        m_dialogs.warning(QStringLiteral("La quantità da ordinare non può essere negativa"));
        return false;
    }
    const qint64 matched = m_db.exec(
        QStringLiteral(
            "UPDATE sottoscorta SET qtaordine = :QTAORDINE WHERE id = :ID AND proprietario = :PROPRIETARIO"),
        {{QStringLiteral("QTAORDINE"), quantity},
         {QStringLiteral("ID"), id},
         {QStringLiteral("PROPRIETARIO"), m_workRows.owner()}});
    load();
    if (matched == 0) {
        m_dialogs.warning(QStringLiteral(
            "L'articolo modificato non è più nell'elenco: la quantità da ordinare non è stata salvata"));
        return false;
    }
    return true;
}

bool Sottoscorta::print()
{
    core::ReportRequest request;
    request.templateName = QStringLiteral("Sottoscorta");
    request.datasets.emplace(QStringLiteral("sottoscorta"), m_rows);
    request.setColumnKind(QStringLiteral("sottoscorta"), core::PrintedNumber::Quantity,
                          {"giacenza", "scorta", "qtaordine"});
    request.values.insert(QStringLiteral("data"), m_clock.today().toString(QStringLiteral("dd/MM/yyyy")));
    request.values.insert(QStringLiteral("fornitore"), m_supplier);
    request.title = QStringLiteral("Articoli sottoscorta");
    try {
        m_reports.preview(request);
        return true;
    } catch (const core::ReportError& failure) {
        m_dialogs.error(failure.message());
        return false;
    }
}

void Sottoscorta::load()
{
    core::Params params{{QStringLiteral("PROPRIETARIO"), m_workRows.owner()}};
    QString sql = QStringLiteral("SELECT * FROM sottoscorta WHERE proprietario = :PROPRIETARIO");
    if (!m_supplier.isEmpty()) {
        sql += QStringLiteral(" AND fornitore = :FORNITORE");
        params.insert(QStringLiteral("FORNITORE"), m_supplier);
    }
    m_rows = m_db.query(sql + QStringLiteral(" ORDER BY descrizione, id"), params);
}

} // namespace carvendo::stock
