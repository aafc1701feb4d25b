#pragma once

#include "core/Money.h"
#include "core/Rows.h"
#include "stock/WorkTableRows.h"
#include "stock/sizes/SizeGroup.h"

#include <QString>
#include <QStringList>

namespace carvendo::core {
class Db;
class Dialogs;
} // namespace carvendo::core

namespace carvendo::stock {

// The document row the sizes are sold on.
struct SizeSaleDocument
{
    QString kind; // `tipodoc`: "Fattura", "Ddt", "Preventivo", "Pos", ...
    int id = 0;   // the document's key
    // Whether the document moves stock (an invoice, a delivery note; not a quote or an order): then
    // Conferma also lowers the sold cells of this warehouse's grid, as the till does by scanning.
    bool lowersGrid = false;
    int warehouseId = 0;
};

// The logic of TScaricoTC ("Scarico Taglie e Colori"): the sizes of one item sold on a document row,
// one work row per colour of the item's grid, the price taken from a price list, and Conferma, which
// records the sizes sold (`scaricotcdoc`) in one transaction. The work rows belong to this window
// (`proprietario`) and go with it; another window's rows are never read or deleted.
class ScaricoTC
{
public:
    ScaricoTC(core::Db& db, core::Dialogs& dialogs, SizeSaleDocument document);

    // The item's colours (those of its grid, else every colour) as work rows with nothing to sell.
    void open(int itemId);

    const ItemSizeGroup& item() const { return m_item; }
    QStringList sizeLabels() const { return m_item.group.shownLabels(); }
    const QString& owner() const { return m_workRows.owner(); }
    // The work rows: id, Colore, TG1..TG30.
    const core::Rows& rows() const { return m_rows; }
    // A negative quantity, or a size the group does not have, is refused (false).
    bool setQuantity(int row, int size, int quantity);
    int totalQuantity() const; // "Totale taglie per colore da scaricare"

    // The price of list 1..3, or "Non Impostato" when the list has no price.
    QString listCaption(int list) const;
    // Takes the price of list 1..3; a list without a price is refused (false).
    bool chooseList(int list);
    void setPrice(core::Money price) { m_price = price; }
    void setDiscount(core::Money percent) { m_discount = percent; }
    core::Money price() const { return m_price; }
    core::Money discount() const { return m_discount; }

    // Records the sizes sold (and lowers the grid when the document moves stock) in one transaction.
    // False, after telling the operator, when nothing is to be sold.
    // Tells the operator, and returns true, when no quantity was typed: checked before any
    // transaction, so nobody waits on a lock while the warning is open.
    bool refusesEmpty();
    static QString noQuantityMessage();
    bool confirm();
    bool confirmed() const { return m_confirmed; }

private:
    void load();

    core::Db& m_db;
    core::Dialogs& m_dialogs;
    SizeSaleDocument m_document;
    WorkTableRows m_workRows;
    ItemSizeGroup m_item;
    core::Money m_lists[3];
    core::Money m_price;
    core::Money m_discount;
    core::Rows m_rows;
    bool m_confirmed = false;
};

} // namespace carvendo::stock
