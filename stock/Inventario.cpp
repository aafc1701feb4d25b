#include "stock/Inventario.h"

#include "core/Clock.h"
#include "core/Dialogs.h"
#include "core/Paths.h"
#include "core/ReportOutput.h"
#include "gridexport/ListExport.h"

#include <QDir>

#include <stdexcept>

namespace carvendo::stock {

namespace {

// The stock condition of each filter: the only text that reaches the SQL from the options.
QString filterCondition(StockFilter filter)
{
    switch (filter) {
    case StockFilter::All:
        return {};
    case StockFilter::Zero:
        return QStringLiteral(" AND g.giacenza = 0");
    case StockFilter::Negative:
        return QStringLiteral(" AND g.giacenza < 0");
    case StockFilter::Positive:
        return QStringLiteral(" AND g.giacenza > 0");
    }
    return {};
}

QString extension(InventoryExport kind)
{
    switch (kind) {
    case InventoryExport::Pdf:
        return QStringLiteral("pdf");
    case InventoryExport::Excel:
        return QStringLiteral("xlsx");
    case InventoryExport::Csv:
        return QStringLiteral("csv");
    case InventoryExport::Html:
        return QStringLiteral("html");
    }
    return {};
}

gridexport::ExportFormat gridFormat(InventoryExport kind)
{
    switch (kind) {
    case InventoryExport::Excel:
        return gridexport::ExportFormat::Excel;
    case InventoryExport::Html:
        return gridexport::ExportFormat::Html;
    default:
        return gridexport::ExportFormat::Text;
    }
}

QString dayText(const QDate& date)
{
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

} // namespace

QString stockFilterCaption(StockFilter filter)
{
    switch (filter) {
    case StockFilter::All:
        return QStringLiteral("Tutti");
    case StockFilter::Zero:
        return QStringLiteral("= 0");
    case StockFilter::Negative:
        return QStringLiteral("< 0");
    case StockFilter::Positive:
        return QStringLiteral("> 0");
    }
    return {};
}

QList<StockFilter> stockFilters()
{
    return {StockFilter::All, StockFilter::Zero, StockFilter::Negative, StockFilter::Positive};
}

// ---- InventoryBuilder ----

qint64 InventoryBuilder::build(const InventoryOptions& options)
{
    core::Transaction transaction(m_db);
    m_db.exec(QStringLiteral("DELETE FROM inventario WHERE proprietario = :PROPRIETARIO"),
              {{QStringLiteral("PROPRIETARIO"), m_owner}});

    // The average cost of every item is made once, into a table of this connection, reading the
    // purchases through their (item, date, cost) index; joined inside the fill instead, the server
    // would work it out again item by item.
    m_db.exec(QStringLiteral("DROP TEMPORARY TABLE IF EXISTS inventario_medi"));
    m_db.exec(
        QStringLiteral("CREATE TEMPORARY TABLE inventario_medi (idarticolo INT PRIMARY KEY, MEDIO DOUBLE)"));
    core::Params period;
    QString purchases = QStringLiteral("INSERT INTO inventario_medi (idarticolo, MEDIO) "
                                       "SELECT q.idarticolo, AVG(q.prezzoacquisto) FROM acquisti q");
    if (options.hasPeriod()) {
        // Purchases carry the time of day: the last day of the period counts whole.
        purchases += QStringLiteral(" WHERE q.Data >= :DATADAL AND q.Data < :DATAOLTRE");
        period.insert(QStringLiteral("DATADAL"), *options.dal);
        period.insert(QStringLiteral("DATAOLTRE"), options.al->addDays(1));
    }
    m_db.exec(purchases + QStringLiteral(" GROUP BY q.idarticolo"), period);

    core::Params params{{QStringLiteral("PROPRIETARIO"), m_owner}};
    QString where = QStringLiteral(" WHERE 1 = 1");
    if (options.idMagazzino > 0) {
        where += QStringLiteral(" AND g.idmagazzino = :IDMAGAZZINO");
        params.insert(QStringLiteral("IDMAGAZZINO"), options.idMagazzino);
    }
    where += filterCondition(options.filter);
    // With a period only the items bought in it are listed.
    const qint64 made = m_db.exec(
        QStringLiteral(
            "INSERT INTO inventario (Fornitore, IDARTICOLO, CODART, DESCRIZIONE, ACQUISTO, ACQUISTOMEDIO, "
            "LISTINO1, LISTINO2, LISTINO3, GIACENZA, DISPONIBILITA, IDMAGAZZINO, MAGAZZINO, proprietario) "
            "SELECT a.Fornitore, a.ID, a.CodArticolo, a.Descrizione, a.PrezzoAcqnoiva, "
            "IFNULL(c.MEDIO, 0), a.Pubblico, a.Listino2, a.Listino3, g.giacenza, g.disponibilita, "
            "g.idmagazzino, COALESCE(NULLIF(g.magazzino, ''), m.Descrizione), :PROPRIETARIO "
            "FROM articoli a "
            "JOIN giacenze g ON g.idarticolo = a.ID "
            "JOIN magazzini m ON m.idMagazzino = g.idmagazzino ") +
            (options.hasPeriod() ? QStringLiteral("JOIN") : QStringLiteral("LEFT JOIN")) +
            QStringLiteral(" inventario_medi c ON c.idarticolo = a.ID") + where,
        params);
    m_db.exec(QStringLiteral("DROP TEMPORARY TABLE inventario_medi"));
    transaction.commit();
    return made;
}

InventoryTotals InventoryBuilder::totals()
{
    const core::Row row =
        m_db.query(
                QStringLiteral("SELECT SUM(`inventario`.`ACQUISTO` * `inventario`.`GIACENZA`) AS VALOREACQ, "
                               "SUM(`inventario`.`ACQUISTOMEDIO` * `inventario`.`GIACENZA`) AS VALOREMEDIO, "
                               "SUM(`inventario`.`LISTINO1` * `inventario`.`GIACENZA`) AS VALORELISTINO1, "
                               "SUM(`inventario`.`LISTINO2` * `inventario`.`GIACENZA`) AS VALORELISTINO2, "
                               "SUM(`inventario`.`LISTINO3` * `inventario`.`GIACENZA`) AS VALORELISTINO3, "
                               "SUM(`inventario`.`GIACENZA`) AS TOTGIAC, "
                               "SUM(`inventario`.`DISPONIBILITA`) AS TOTDISP FROM `inventario` "
                               "WHERE `inventario`.`proprietario` = :PROPRIETARIO"),
                {{QStringLiteral("PROPRIETARIO"), m_owner}})
            .first();
    InventoryTotals totals;
    totals.valoreAcq = row["VALOREACQ"].toMoney();
    totals.valoreMedio = row["VALOREMEDIO"].toMoney();
    totals.valoreListino1 = row["VALORELISTINO1"].toMoney();
    totals.valoreListino2 = row["VALORELISTINO2"].toMoney();
    totals.valoreListino3 = row["VALORELISTINO3"].toMoney();
    totals.totGiac = row["TOTGIAC"].toDouble();
    totals.totDisp = row["TOTDISP"].toDouble();
    return totals;
}

// ---- Inventario ----

Inventario::Inventario(core::Db& db, core::ConnectionSettings settings, const core::Paths& paths,
                       const core::Clock& clock, core::Dialogs& dialogs, core::ReportOutput& reports,
                       core::JobRunner runner)
    : m_db(db), m_settings(std::move(settings)), m_paths(paths), m_clock(clock), m_dialogs(dialogs),
      m_reports(reports), m_runner(std::move(runner))
{
}

QList<Inventario::WarehouseChoice> Inventario::warehouses()
{
    QList<WarehouseChoice> choices{{0, QStringLiteral("Tutti i magazzini")}};
    for (const core::Row row : m_db.query(QStringLiteral(
             "SELECT idMagazzino, Descrizione FROM magazzini ORDER BY Descrizione, idMagazzino")))
        choices.append({row["idMagazzino"].toInt(), row["Descrizione"].toString()});
    return choices;
}

QStringList Inventario::columnNames()
{
    return {QStringLiteral("CODART"),    QStringLiteral("DESCRIZIONE"),   QStringLiteral("MAGAZZINO"),
            QStringLiteral("Fornitore"), QStringLiteral("GIACENZA"),      QStringLiteral("DISPONIBILITA"),
            QStringLiteral("ACQUISTO"),  QStringLiteral("ACQUISTOMEDIO"), QStringLiteral("LISTINO1"),
            QStringLiteral("LISTINO2"),  QStringLiteral("LISTINO3")};
}

QStringList Inventario::columnCaptions()
{
    return {QStringLiteral("Codice"),    QStringLiteral("Descrizione"),    QStringLiteral("Magazzino"),
            QStringLiteral("Fornitore"), QStringLiteral("Giacenza"),       QStringLiteral("Disponibilità"),
            QStringLiteral("Acquisto"),  QStringLiteral("Acquisto medio"), QStringLiteral("Listino 1"),
            QStringLiteral("Listino 2"), QStringLiteral("Listino 3")};
}

bool Inventario::run()
{
    if (m_options.dal.has_value() != m_options.al.has_value()) {
        m_dialogs.warning(QStringLiteral("Indicare entrambe le date del periodo"));
        return false;
    }
    if (m_options.hasPeriod() && *m_options.dal > *m_options.al) {
        m_dialogs.warning(QStringLiteral("La data iniziale del periodo è successiva a quella finale"));
        return false;
    }
    const InventoryOptions options = m_options;
    const core::ConnectionSettings settings = m_settings;
    const QString owner = m_workRows.owner();
    try {
        m_runner(QStringLiteral("Elaborazione inventario in corso..."),
                 [options, settings, owner](const std::function<void(int)>& progress) {
                     core::Db own(settings);
                     own.open();
                     progress(10);
                     InventoryBuilder(own, owner).build(options);
                     progress(100);
                 });
        m_totals = InventoryBuilder(m_db, owner).totals();
        m_rows = fetch(m_db, owner, m_pageSize, 0);
    } catch (const core::DbError& failure) {
        m_done = false;
        m_rows = core::Rows();
        m_hasMore = false;
        m_dialogs.error(failure.message());
        return false;
    }
    m_hasMore = m_rows.size() == m_pageSize;
    m_done = true;
    return true;
}

bool Inventario::loadMore()
{
    if (!m_hasMore)
        return false;
    const core::Rows next = fetch(m_db, m_workRows.owner(), m_pageSize, m_rows.size());
    std::vector<std::vector<QVariant>> data;
    data.reserve(size_t(m_rows.size() + next.size()));
    for (const core::Rows* part : {static_cast<const core::Rows*>(&m_rows), &next})
        for (int r = 0; r < part->size(); ++r) {
            std::vector<QVariant> cells;
            for (int c = 0; c < part->columnCount(); ++c)
                cells.push_back(part->at(r, c).variant());
            data.push_back(std::move(cells));
        }
    m_rows = core::Rows(m_rows.columns(), std::move(data));
    m_hasMore = next.size() == m_pageSize;
    return !next.isEmpty();
}

core::Rows Inventario::fetch(core::Db& db, const QString& owner, int limit, int offset)
{
    const QString sql = QStringLiteral("SELECT ") + columnNames().join(QStringLiteral(", ")) +
                        QStringLiteral(" FROM inventario WHERE proprietario = :PROPRIETARIO "
                                       "ORDER BY DESCRIZIONE, IDARTICOLO, IDMAGAZZINO");
    core::Params params{{QStringLiteral("PROPRIETARIO"), owner}};
    if (limit <= 0)
        return db.query(sql, params);
    params.insert(QStringLiteral("RIGHE"), limit);
    params.insert(QStringLiteral("DA"), offset);
    return db.query(sql + QStringLiteral(" LIMIT :RIGHE OFFSET :DA"), params);
}

void Inventario::putRows(core::ReportRequest& request, const core::Rows& rows, int idMagazzino)
{
    QString warehouse = QStringLiteral("Tutti i magazzini");
    if (idMagazzino > 0 && !rows.isEmpty())
        warehouse = rows.value(0, "MAGAZZINO").toString();
    request.datasets.insert_or_assign(QStringLiteral("inventario"), rows);
    request.setColumnKind(QStringLiteral("inventario"), core::PrintedNumber::Quantity,
                          {"GIACENZA", "DISPONIBILITA"});
    request.values.insert(QStringLiteral("magazzino"), warehouse);
}

core::ReportRequest Inventario::reportRequest(const core::Rows& rows) const
{
    core::ReportRequest request;
    request.templateName = QStringLiteral("Inventario");
    request.title = QStringLiteral("Inventario");
    putRows(request, rows, m_options.idMagazzino);
    QVariantMap& values = request.values;
    values.insert(QStringLiteral("data"), dayText(m_clock.today()));
    values.insert(QStringLiteral("filtro"),
                  m_options.filter == StockFilter::All
                      ? QString()
                      : QStringLiteral("Giacenza ") + stockFilterCaption(m_options.filter));
    values.insert(
        QStringLiteral("periodo"),
        m_options.hasPeriod()
            ? QStringLiteral("Costo medio dal %1 al %2").arg(dayText(*m_options.dal), dayText(*m_options.al))
            : QString());
    values.insert(QStringLiteral("VALOREACQ"), m_totals.valoreAcq.toItalian());
    values.insert(QStringLiteral("VALOREMEDIO"), m_totals.valoreMedio.toItalian());
    values.insert(QStringLiteral("VALORELISTINO1"), m_totals.valoreListino1.toItalian());
    values.insert(QStringLiteral("VALORELISTINO2"), m_totals.valoreListino2.toItalian());
    values.insert(QStringLiteral("VALORELISTINO3"), m_totals.valoreListino3.toItalian());
    values.insert(QStringLiteral("TOTGIAC"), core::formatQuantity(m_totals.totGiac));
    values.insert(QStringLiteral("TOTDISP"), core::formatQuantity(m_totals.totDisp));
    return request;
}

bool Inventario::print()
{
    if (!m_done) {
        m_dialogs.warning(QStringLiteral("Elaborare prima l'inventario"));
        return false;
    }
    try {
        m_reports.preview(reportRequest(fetch(m_db, m_workRows.owner(), 0, 0)));
        return true;
    } catch (const core::ReportError& failure) {
        m_dialogs.error(failure.message());
    } catch (const core::DbError& failure) {
        m_dialogs.error(failure.message());
    }
    return false;
}

QString Inventario::exportPath(InventoryExport kind) const
{
    return m_paths.documentsDir(core::DocumentFolder::Inventari) + QStringLiteral("/Inventario del ") +
           m_clock.today().toString(QStringLiteral("dd-MM-yyyy")) + QLatin1Char('.') + extension(kind);
}

QString Inventario::exportAs(InventoryExport kind)
{
    if (!m_done) {
        m_dialogs.warning(QStringLiteral("Elaborare prima l'inventario"));
        return {};
    }
    const QString path = exportPath(kind);
    core::Paths::ensureDir(m_paths.documentsDir(core::DocumentFolder::Inventari));
    // Everything but the rows is made here; the rows are read and the file written on the job's own
    // connection, off the window thread.
    const core::ReportRequest heading = reportRequest(core::Rows());
    const int idMagazzino = m_options.idMagazzino;
    const QString owner = m_workRows.owner();
    core::ReportOutput& reports = m_reports;
    gridexport::ListExport(m_dialogs, m_db, m_runner, m_settings)
        .toFile(
            path, QStringLiteral("Esportazione inventario in corso..."),
            [owner](core::Db& db) { return fetch(db, owner, 0, 0); },
            [&reports, heading, idMagazzino, kind](const core::Rows& rows, const QString& file) {
                if (kind == InventoryExport::Pdf) {
                    core::ReportRequest request = heading;
                    putRows(request, rows, idMagazzino);
                    reports.exportPdf(request, file);
                } else {
                    gridexport::GridExport::write(rows, gridFormat(kind), file, columnCaptions());
                }
            });
    return path;
}

} // namespace carvendo::stock
