#pragma once

#include "core/Money.h"
#include "core/Rows.h"
#include "stock/loads/LoadHeader.h"
#include "stock/loads/LoadPosting.h"

#include <QString>

#include <memory>
#include <optional>

namespace carvendo::core {
class Db;
class Dialogs;
class Session;
} // namespace carvendo::core

namespace carvendo::stock {

class LoadSerialCapture;
class LoadSizeGrid;

// Which pages the row dialog shows for the item.
enum class LoadRowKind
{
    Plain,     // details only
    Serials,   // serial page and lot page; the quantity is the count of serials
    SizeColour // size/colour grid; the quantity is the grid's total
};

// The logic of TCaricoDialogo: one row of a load being entered. Prefilled from the item when the
// load's supplier is the item's own, else from the supplier's catalogue row. Serials typed on its
// pages are written at once; they are given back (discard) when the dialog is cancelled or its
// row cannot be written.
class CaricoDialogo
{
public:
    CaricoDialogo(core::Db& db, core::Dialogs& dialogs, const core::Session& session, const LoadHeader& load,
                  int idArticolo);
    // The same from the item already read with itemQuery(): a scan finds the item and fills the
    // dialog with one read.
    CaricoDialogo(core::Db& db, core::Dialogs& dialogs, const core::Session& session, const LoadHeader& load,
                  const core::Row& item);
    // The item columns the dialog is filled from, of the items meeting the condition (on `a`, the
    // item; :IDFORNITORE is the load's supplier).
    static QString itemQuery(const QString& condition);
    ~CaricoDialogo();
    CaricoDialogo(const CaricoDialogo&) = delete;
    CaricoDialogo& operator=(const CaricoDialogo&) = delete;

    int idArticolo() const { return m_idArticolo; }
    const QString& codice() const { return m_codice; }
    const QString& descrizione() const { return m_descrizione; }
    LoadRowKind kind() const { return m_kind; }

    // The fields as typed ("," or "." decimals).
    QString quantityText() const { return m_quantity; }
    QString priceText() const { return m_price; }
    QString discount1Text() const { return m_discount1; }
    QString discount2Text() const { return m_discount2; }
    void setQuantityText(const QString& text) { m_quantity = text; }
    void setPriceText(const QString& text) { m_price = text; }
    void setDiscount1Text(const QString& text) { m_discount1 = text; }
    void setDiscount2Text(const QString& text) { m_discount2 = text; }

    // The pages of a serial-tracked or size/colour item; nullptr for other items.
    LoadSerialCapture* serials() { return m_serials.get(); }
    LoadSizeGrid* grid() { return m_grid.get(); }

    // The row to post, after the checks ("Inserire una quantità!" for an empty, 0 or negative
    // quantity); nullopt, after telling the operator, when a field is refused.
    std::optional<LoadRowValues> values();
    // The dialog's own serials and lot given back.
    void discard();

    static QString quantityMessage() { return QStringLiteral("Inserire una quantità!"); }

private:
    static core::Row readItem(core::Db& db, const LoadHeader& load, int idArticolo);
    void prefill(const LoadHeader& load, const core::Row& item);

    core::Dialogs& m_dialogs;
    int m_idArticolo;
    QString m_codice;
    QString m_descrizione;
    LoadRowKind m_kind = LoadRowKind::Plain;
    QString m_quantity = QStringLiteral("1");
    QString m_price;
    QString m_discount1;
    QString m_discount2;
    std::unique_ptr<LoadSerialCapture> m_serials;
    std::unique_ptr<LoadSizeGrid> m_grid;
};

} // namespace carvendo::stock
