#pragma once

#include "core/Db.h"
#include "core/LongJob.h"
#include "core/Rows.h"
#include "core/Session.h"
#include "gridexport/ListExport.h"
#include "stock/ItemSearch.h"
#include "stock/StockRealignment.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <optional>

namespace carvendo::core {
class Db;
class Dialogs;
class Navigator;
class Paths;
class ReportOutput;
} // namespace carvendo::core

namespace carvendo::stock {

// The stock row of the current item in the list's warehouse, as shown beside the grid.
struct CurrentStock
{
    bool hasRow = false; // the item has a `giacenze` row in the warehouse
    double giacenza = 0;
    double disponibilita = 0;
    bool realigned = false; // figures below were computed (the list realigns, the picker only reads)
    StockFigures figures{};
};

// The logic of the item list TArticoli, and the list half of the picker TArticoliPreleva: searches,
// the warehouse whose stock the list shows, the current item and its stock, new / modify /
// duplicate / delete, realignment, exports, the grid layout and the printed list.
class Articoli : public QObject
{
    Q_OBJECT

public:
    // How the list behaves where the list window and the picker differ.
    struct Options
    {
        QString windowName = QStringLiteral("TArticoli"); // the caller name the card is opened with
        bool realignOnMove = true;                        // the list realigns the item it moves to
    };

    Articoli(core::Db& db, const core::Session& session, const core::Paths& paths, core::Dialogs& dialogs,
             core::Navigator& navigator, QObject* parent = nullptr);
    Articoli(core::Db& db, const core::Session& session, const core::Paths& paths, core::Dialogs& dialogs,
             core::Navigator& navigator, Options options, QObject* parent = nullptr);

    static QString cardWindow() { return QStringLiteral("TArticolo"); }
    static QString advancedSearchWindow() { return QStringLiteral("TRicercaAvanzata"); }
    static QString duplicateQuestion() { return QStringLiteral("Vuoi duplicare l'articolo selezionato?"); }
    static QString deleteQuestion() { return QStringLiteral("Eliminare l'articolo selezionato?"); }
    static QString realignQuestion();
    static QString serialNotFoundMessage()
    {
        return QStringLiteral("Seriale non trovato nel magazzino selezionato!");
    }

    ItemSearch& search() { return m_search; }
    const core::Rows& rows() const { return m_search.rows(); }

    // The warehouses the selector offers (`idMagazzino`, `Descrizione`), by name.
    core::Rows warehouses();
    const core::Warehouse& warehouse() const { return m_warehouse; }
    // The list shows the stock of that warehouse from now on.
    void setWarehouse(const core::Warehouse& warehouse);

    // Opens the list on every item, in the operator's warehouse, on the first item.
    void open();
    void showAll();
    void find(ItemField field, MatchMode mode, const QString& text);
    void findSupplier(const QString& name);
    bool findSerial(const QString& serial);
    // Asks TRicercaAvanzata for an attribute and a value and shows what it found.
    bool advancedSearch();
    bool loadMore();

    // The item the grid's cursor is on (0 for none); moving there realigns it (list) or re-reads its
    // stock (picker).
    void setCurrentItem(int idArticolo);
    int currentItem() const { return m_current; }
    const CurrentStock& currentStock() const { return m_stock; }

    // Nuovo: a new item, its card; the list then shows the saved item, or nothing when cancelled.
    // Returns the new item's ID when it was saved, else 0.
    int newItem();
    // Modifica: the card of the current item, then the list reloaded.
    bool modifyCurrent();
    // Duplicates the current item after the question; the list then shows the copy. Its ID, or 0.
    int duplicateCurrent();
    // Deletes the current item after the privilege check and the question.
    bool deleteCurrent();
    // Allinea: after the question, the current item's stock set from its history.
    bool realignCurrent();

    // Exports read and write on a connection of their own through this runner (the window puts them
    // behind a progress bar); until it is set they run right away on the list's connection.
    void runExportsWith(const core::ConnectionSettings& settings, core::JobRunner runner);
    // Asks for the file and writes every item of the current search. False when cancelled.
    bool exportGrid(gridexport::ExportFormat format);
    // The printed list of the current search ("Articoli" template), on screen first.
    bool printList(core::ReportOutput& reports);

    QByteArray loadLayout() const;
    bool saveLayout(const QByteArray& state);

signals:
    void rowsChanged();
    // One loaded row changed in place (the current item's stock after a realignment).
    void rowChanged(int row);
    void currentChanged();

private:
    void afterSearch();
    void readCurrentStock();
    int firstItem() const;

    core::Db& m_db;
    const core::Session& m_session;
    const core::Paths& m_paths;
    core::Dialogs& m_dialogs;
    core::Navigator& m_navigator;
    Options m_options;
    ItemSearch m_search;
    core::Warehouse m_warehouse;
    int m_current = 0;
    CurrentStock m_stock;
    gridexport::ListExport m_export;
};

} // namespace carvendo::stock
