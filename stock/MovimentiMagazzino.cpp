#include "stock/MovimentiMagazzino.h"

#include "core/Clock.h"
#include "core/Dialogs.h"
#include "core/ReportOutput.h"
#include "core/ReportRequest.h"
#include "stock/Warehouses.h"

#include <QLocale>
#include <QStringBuilder>

#include <functional>

namespace carvendo::stock {

namespace {

const QString IdColumn = QStringLiteral("id");
const QString NewestFirst = QStringLiteral(" ORDER BY data DESC, id DESC");

} // namespace

MovimentiMagazzino::MovimentiMagazzino(core::Db& db, core::Dialogs& dialogs, core::ReportOutput& reports,
                                       const core::Clock& clock, QObject* parent)
    : QObject(parent), m_db(db), m_dialogs(dialogs), m_reports(reports), m_clock(clock)
{
}

const QStringList& MovimentiMagazzino::documentKinds()
{
    static const QStringList kinds{QStringLiteral("Fattura"), QStringLiteral("Ddt"), QStringLiteral("Pos"),
                                   QStringLiteral("Ordine Cliente"), QStringLiteral("Cat")};
    return kinds;
}

core::Rows MovimentiMagazzino::warehouses()
{
    return Warehouses(m_db).list();
}

std::optional<MovementItem> MovimentiMagazzino::findItem(const QString& codeOrBarcode)
{
    const QString text = codeOrBarcode.trimmed();
    if (text.isEmpty()) {
        m_dialogs.information(QStringLiteral("Inserire il codice o il barcode dell'articolo"));
        return std::nullopt;
    }
    const core::Rows found = m_db.query(
        QStringLiteral("SELECT ID, CodArticolo, Descrizione FROM articoli WHERE CodArticolo = :TESTO "
                       "UNION SELECT ID, CodArticolo, Descrizione FROM articoli WHERE BarcodeFull = :TESTO "
                       "UNION SELECT ID, CodArticolo, Descrizione FROM articoli WHERE Barcode = :TESTO "
                       "ORDER BY ID LIMIT 1"),
        {{QStringLiteral("TESTO"), text}});
    if (found.isEmpty()) {
        m_dialogs.information(QStringLiteral("Nessun articolo trovato con il codice o barcode %1").arg(text));
        return std::nullopt;
    }
    return MovementItem{found.value(0, "ID").toInt(), found.value(0, "CodArticolo").toString(),
                        found.value(0, "Descrizione").toString()};
}

QString MovimentiMagazzino::whereClause(const MovementFilter& filter, core::Params& params,
                                        const QString& extra)
{
    QStringList conditions;
    switch (filter.period) {
    case MovementFilter::Period::All:
        break;
    case MovementFilter::Period::Day:
        conditions << QStringLiteral("data = :DATA");
        params.insert(QStringLiteral("DATA"), filter.day);
        break;
    case MovementFilter::Period::Range:
        conditions << QStringLiteral("data BETWEEN :DATAIN_1 AND :DATAIN_2");
        params.insert(QStringLiteral("DATAIN_1"), filter.from);
        params.insert(QStringLiteral("DATAIN_2"), filter.to);
        break;
    }
    if (!filter.tipoDoc.isEmpty()) {
        conditions << QStringLiteral("TipoDoc = :TIPODOC");
        params.insert(QStringLiteral("TIPODOC"), filter.tipoDoc);
    }
    if (filter.idArticolo > 0) {
        conditions << QStringLiteral("idArticolo = :IDARTICOLO");
        params.insert(QStringLiteral("IDARTICOLO"), filter.idArticolo);
    }
    if (filter.idMagazzino > 0) {
        // By key: sale rows keep the warehouse name they were written with, a renamed warehouse
        // would lose its history when filtered by name.
        conditions << QStringLiteral("idMagazzino = :IDMAGAZZINO");
        params.insert(QStringLiteral("IDMAGAZZINO"), filter.idMagazzino);
    }
    if (!extra.isEmpty())
        conditions << extra;
    return conditions.isEmpty() ? QString()
                                : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
}

bool MovimentiMagazzino::validate(const MovementFilter& filter)
{
    QString problem;
    if (filter.period == MovementFilter::Period::Day && !filter.day.isValid())
        problem = QStringLiteral("Inserire la data dei movimenti");
    else if (filter.period == MovementFilter::Period::Range &&
             (!filter.from.isValid() || !filter.to.isValid()))
        problem = QStringLiteral("Inserire le date di inizio e fine del periodo");
    else if (filter.period == MovementFilter::Period::Range && filter.from > filter.to)
        problem = QStringLiteral("La data di inizio del periodo è successiva alla data di fine");
    else if (!filter.tipoDoc.isEmpty() && !documentKinds().contains(filter.tipoDoc))
        problem = QStringLiteral("Tipo di documento non valido: %1").arg(filter.tipoDoc);
    if (problem.isEmpty())
        return true;
    m_dialogs.warning(problem);
    return false;
}

core::Rows MovimentiMagazzino::fetchPage(const std::optional<core::Row>& after, int limit)
{
    // Keyset paging on (data, id), newest first: the index on `data` (which ends with the key)
    // gives each page in order without counting the rows before it. Rows without a date come last.
    core::Params params;
    QString keyset;
    if (after) {
        const core::Field lastDate = after->value("data");
        params.insert(QStringLiteral("PRIMA_ID"), after->value(IdColumn).toInt64());
        if (lastDate.isNull()) {
            keyset = QStringLiteral("(data IS NULL AND id < :PRIMA_ID)");
        } else {
            keyset = QStringLiteral(
                "(data < :PRIMA_DATA OR (data = :PRIMA_DATA AND id < :PRIMA_ID) OR data IS NULL)");
            params.insert(QStringLiteral("PRIMA_DATA"), lastDate.toDate());
        }
    }
    const QString where = whereClause(m_filter, params, keyset);
    params.insert(QStringLiteral("QUANTI"), limit);
    return m_db.query(QStringLiteral("SELECT * FROM venduti") % where % NewestFirst %
                          QStringLiteral(" LIMIT :QUANTI"),
                      params);
}

bool MovimentiMagazzino::search(const MovementFilter& filter)
{
    if (!validate(filter))
        return false;
    m_filter = filter;
    m_pages.first(std::bind_front(&MovimentiMagazzino::fetchPage, this));
    emit rowsChanged();
    return true;
}

bool MovimentiMagazzino::loadMore()
{
    if (!m_pages.next(std::bind_front(&MovimentiMagazzino::fetchPage, this)))
        return false;
    emit rowsChanged();
    return true;
}

core::Rows MovimentiMagazzino::allRows()
{
    core::Params params;
    const QString where = whereClause(m_filter, params);
    return m_db.query(QStringLiteral("SELECT * FROM venduti") % where % NewestFirst, params);
}

core::Rows MovimentiMagazzino::serialsOf(int row)
{
    if (row < 0 || row >= rows().size())
        return {};
    const core::Row movement = rows()[row];
    const int idArticolo = movement.value("idArticolo").toInt();
    const bool withSerials =
        m_db.scalar(QStringLiteral("SELECT Seriale FROM articoli WHERE ID = :IDARTICOLO"),
                    {{QStringLiteral("IDARTICOLO"), idArticolo}})
            .toBool();
    if (!withSerials)
        return {};
    return m_db.query(QStringLiteral("SELECT * FROM serialidocumenti WHERE idarticolo = :idarticolo AND "
                                     "documento = :documento AND iddocumento = :iddocumento"),
                      {{QStringLiteral("idarticolo"), idArticolo},
                       {QStringLiteral("documento"), movement.value("TipoDoc").toString()},
                       {QStringLiteral("iddocumento"), movement.value("idDoc").toInt()}});
}

QString MovimentiMagazzino::reportTitle() const
{
    const QDateTime now = m_clock.now();
    return QStringLiteral("Elenco movimenti di magazzino - Report generato in data ") %
           now.toString(QStringLiteral("dd/MM/yyyy")) % QStringLiteral(" alle ore ") %
           now.toString(QStringLiteral("HH:mm"));
}

core::ReportRequest MovimentiMagazzino::reportRequest()
{
    core::ReportRequest request;
    request.templateName = QStringLiteral("MovimentiMagazzino");
    request.datasets.emplace(QStringLiteral("venduti"), allRows());
    request.setColumnKind(QStringLiteral("venduti"), core::PrintedNumber::Quantity, {"quantita"});
    request.title = reportTitle();
    request.values.insert(QStringLiteral("titolo"), request.title);
    return request;
}

int MovimentiMagazzino::countRows()
{
    core::Params params;
    const QString where = whereClause(m_filter, params);
    return m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM venduti") % where, params).toInt();
}

bool MovimentiMagazzino::print()
{
    const int count = countRows();
    if (count == 0) {
        m_dialogs.information(QStringLiteral("Nessun movimento da stampare"));
        return false;
    }
    if (!core::mayPrintList(m_dialogs, count, QStringLiteral("movimenti")))
        return false;
    try {
        m_reports.preview(reportRequest());
    } catch (const core::ReportError& failure) {
        m_dialogs.error(failure.message());
        return false;
    }
    return true;
}

} // namespace carvendo::stock
