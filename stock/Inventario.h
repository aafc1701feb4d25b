#pragma once

#include "core/Db.h"
#include "core/LongJob.h"
#include "core/Money.h"
#include "core/Rows.h"
#include "stock/WorkTableRows.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace carvendo::core {
class Clock;
class Dialogs;
class Paths;
class ReportOutput;
struct ReportRequest;
} // namespace carvendo::core

namespace carvendo::stock {

// Which stock rows the inventory counts.
enum class StockFilter
{
    All,
    Zero,     // "= 0"
    Negative, // "< 0"
    Positive  // "> 0"
};

// The choices as the options show them: "Tutti", "= 0", "< 0", "> 0".
QString stockFilterCaption(StockFilter filter);
QList<StockFilter> stockFilters();

struct InventoryOptions
{
    int idMagazzino = 0; // 0: every warehouse
    StockFilter filter = StockFilter::All;
    // With a period the average cost is that of the purchases made in it (both days included), and
    // an item without purchases in the period is left out.
    std::optional<QDate> dal;
    std::optional<QDate> al;

    bool hasPeriod() const { return dal.has_value() && al.has_value(); }
};

// The value of the inventory: stock times each price, and the quantities.
struct InventoryTotals
{
    core::Money valoreAcq;
    core::Money valoreMedio;
    core::Money valoreListino1;
    core::Money valoreListino2;
    core::Money valoreListino3;
    double totGiac = 0;
    double totDisp = 0;
};

// Fills one owner's rows of the work table `inventario` afresh: one row per item and warehouse
// stock row that passes the filter, with the item's prices and its average purchase cost. One
// INSERT … SELECT, however many items there are, in the transaction that deletes the owner's old
// rows: the owner has all of the new inventory or, when that fails, the old one. Other owners' rows
// are never read nor touched.
class InventoryBuilder
{
public:
    InventoryBuilder(core::Db& db, QString owner) : m_db(db), m_owner(std::move(owner)) {}

    qint64 build(const InventoryOptions& options); // the rows made
    InventoryTotals totals();

private:
    core::Db& m_db;
    QString m_owner;
};

// What an inventory is exported as.
enum class InventoryExport
{
    Pdf,
    Excel,
    Csv,
    Html
};

// The logic of TInventario: the options, the inventory made behind a progress bar on its own
// connection, its rows a page at a time, its totals, the print and the exports to the inventory
// folder, named "Inventario del " and the day.
class Inventario
{
public:
    Inventario(core::Db& db, core::ConnectionSettings settings, const core::Paths& paths,
               const core::Clock& clock, core::Dialogs& dialogs, core::ReportOutput& reports,
               core::JobRunner runner);

    struct WarehouseChoice
    {
        int id = 0; // 0: every warehouse
        QString name;
    };
    // "Tutti i magazzini" first, then every warehouse by name.
    QList<WarehouseChoice> warehouses();

    InventoryOptions& options() { return m_options; }
    const InventoryOptions& options() const { return m_options; }

    // Makes the inventory with the options. False, after telling the operator, when the options
    // are refused or the work failed.
    bool run();
    bool isDone() const { return m_done; }

    // The rows loaded so far (the first page after run()).
    const core::Rows& rows() const { return m_rows; }
    bool hasMore() const { return m_hasMore; }
    bool loadMore();
    void setPageSize(int rows) { m_pageSize = rows; }
    const InventoryTotals& totals() const { return m_totals; }

    // The whole inventory in the print preview ("Inventario" template).
    bool print();
    // Writes the whole inventory to the inventory folder; the file's path, or empty after telling
    // the operator why nothing was written.
    QString exportAs(InventoryExport kind);
    QString exportPath(InventoryExport kind) const;

    static QStringList columnCaptions();
    static QStringList columnNames();

private:
    // The owner's inventory rows in print order; limit 0: all of them.
    static core::Rows fetch(core::Db& db, const QString& owner, int limit, int offset);
    core::ReportRequest reportRequest(const core::Rows& rows) const;
    // The rows of a print and the warehouse they are of ("Tutti i magazzini" for all).
    static void putRows(core::ReportRequest& request, const core::Rows& rows, int idMagazzino);

    core::Db& m_db;
    core::ConnectionSettings m_settings;
    const core::Paths& m_paths;
    const core::Clock& m_clock;
    core::Dialogs& m_dialogs;
    core::ReportOutput& m_reports;
    core::JobRunner m_runner;
    WorkTableRows m_workRows{m_db, WorkTable::Inventario};
    InventoryOptions m_options;
    bool m_done = false;
    core::Rows m_rows;
    bool m_hasMore = false;
    int m_pageSize = 500;
    InventoryTotals m_totals;
};

} // namespace carvendo::stock
