#pragma once

#include "core/Db.h"
#include "core/PagedRows.h"
#include "core/Rows.h"

#include <QDate>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

namespace carvendo::core {
class Clock;
class Dialogs;
class ReportOutput;
struct ReportRequest;
} // namespace carvendo::core

namespace carvendo::stock {

// Which sale rows the movements list shows. Every part is optional and they combine.
struct MovementFilter
{
    enum class Period
    {
        All,
        Day,  // `data` = day
        Range // `data` between from and to, both included
    };

    Period period = Period::All;
    QDate day{};
    QDate from{};
    QDate to{};
    QString tipoDoc{};   // one of MovimentiMagazzino::documentKinds(); empty for every kind
    int idArticolo = 0;  // 0 for every item
    int idMagazzino = 0; // 0 for every warehouse

    bool operator==(const MovementFilter&) const = default;
};

// An item the list is filtered by.
struct MovementItem
{
    int id = 0;
    QString code;
    QString description;
};

// The logic of TMovimentiMagazzino: the `venduti` rows of a filter, newest first (by date, then as
// recorded; rows without a date last) and a page at a time (the table holds millions of rows), the
// serials of the chosen movement and the printed list. The filter's values are always bound; which conditions
// appear comes from a fixed set.
class MovimentiMagazzino : public QObject
{
    Q_OBJECT

public:
    MovimentiMagazzino(core::Db& db, core::Dialogs& dialogs, core::ReportOutput& reports,
                       const core::Clock& clock, QObject* parent = nullptr);

    // The document kinds a sale row may have, as `TipoDoc` stores them.
    static const QStringList& documentKinds();
    // The warehouses to filter by (`idMagazzino`, `Descrizione`, ...), by name.
    core::Rows warehouses();

    // The item whose code or barcode is the text; nothing, after telling the operator, when none.
    std::optional<MovementItem> findItem(const QString& codeOrBarcode);

    void setPageSize(int rows) { m_pages.setPageSize(rows); }
    int pageSize() const { return m_pages.pageSize(); }

    // Runs the filter and loads its first page. False, with the reason told, when the filter is not
    // usable (a period without its dates, an unknown document kind); the list is left as it was.
    bool search(const MovementFilter& filter);
    // The next page of the same filter; false when there was nothing more.
    bool loadMore();

    const MovementFilter& filter() const { return m_filter; }
    const core::Rows& rows() const { return m_pages.rows(); }
    bool hasMore() const { return m_pages.hasMore(); }
    // Every row of the current filter, not only the loaded pages.
    core::Rows allRows();

    // The serials sold with the movement shown at row (`serialidocumenti` of its item and document),
    // empty for an item without serials.
    core::Rows serialsOf(int row);

    // "Elenco movimenti di magazzino - Report generato in data dd/MM/yyyy alle ore HH:mm".
    QString reportTitle() const;
    // What the print is given: template "MovimentiMagazzino", dataset "venduti" with every row of
    // the filter, the title as "titolo".
    core::ReportRequest reportRequest();
    // The print, shown first in the preview. Nothing to print is told; a list longer than
    // core::LargePrintRows rows is printed only when the operator confirms. False when nothing was
    // shown.
    bool print();

signals:
    void rowsChanged();

private:
    // The WHERE text and values of a filter; conditions come only from this fixed set.
    static QString whereClause(const MovementFilter& filter, core::Params& params, const QString& extra = {});
    bool validate(const MovementFilter& filter);
    // At most limit rows after the given row, or from the first.
    core::Rows fetchPage(const std::optional<core::Row>& after, int limit);
    int countRows();

    core::Db& m_db;
    core::Dialogs& m_dialogs;
    core::ReportOutput& m_reports;
    const core::Clock& m_clock;
    MovementFilter m_filter;
    core::PagedRows m_pages;
};

} // namespace carvendo::stock
