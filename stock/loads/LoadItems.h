#pragma once

#include "core/Money.h"
#include "core/Rows.h"

#include <QString>

#include <optional>

namespace carvendo::core {
class Db;
class Dialogs;
class Navigator;
struct Warehouse;
} // namespace carvendo::core

namespace carvendo::stock {

// The item searches of the load windows.
enum class LoadItemSearch
{
    Codice,
    Descrizione,
    CodiceFornitore
};

// Finding, creating and re-costing the items a load receives; shared by the load window and the fast
// load.
class LoadItems
{
public:
    LoadItems(core::Db& db, core::Dialogs& dialogs, core::Navigator& navigator, QString caller)
        : m_db(db), m_dialogs(dialogs), m_navigator(navigator), m_caller(std::move(caller))
    {
    }

    // The item whose full barcode this is, with what its row dialog is filled from (the load's
    // supplier's catalogue row among it).
    std::optional<core::Row> byBarcode(const QString& barcode, int idFornitore);
    // Items whose code, description or supplier code starts with the text.
    core::Rows search(LoadItemSearch column, const QString& text);

    // A new item with the defaults of a new card (the existing item creation), its stock row in the
    // load's warehouse; with a barcode and supplier for the fast load. Returns its ID.
    int create(const core::Warehouse& warehouse, const QString& barcode = {}, const QString& supplier = {});
    // A new item through its card; nullopt when the card was left without saving (the item goes).
    std::optional<int> createThroughCard(const core::Warehouse& warehouse);

    // After a row: when its cost differs from the item's, asks whether to open the item card; on
    // Yes the item's cost becomes the row's and the card opens.
    void offerCostUpdate(int idArticolo, core::Money netCost, core::Money previousCost);

    static QString costChangedQuestion()
    {
        return QStringLiteral("Il prezzo di acquisto è cambiato, vuoi aprire la scheda dell'articolo per "
                              "modificare i listini di vendita?");
    }

private:
    core::Db& m_db;
    core::Dialogs& m_dialogs;
    core::Navigator& m_navigator;
    QString m_caller;
};

} // namespace carvendo::stock
