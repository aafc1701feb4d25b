#pragma once

#include "core/Money.h"

#include <QList>
#include <QString>

#include <optional>

namespace carvendo::core {
class Db;
class Row;
} // namespace carvendo::core

namespace carvendo::pos {

// What a sale row is sold as, read from the item card when the row is made or changed.
struct SaleItem
{
    int id = 0;
    QString code, description, department, barcode;
    core::Money netPrice;    // `PrezzoVendnoiva`
    core::Money publicPrice; // `Pubblico`
    bool bySerial = false;
    bool bySize = false;
    bool isPack = false;

    static QString columns(); // the `articoli` columns fromRow reads, for the caller's SELECT
    static SaleItem fromRow(const core::Row& row);
};

// A row of the sale is known by its item and, for a size/colour row, by the cell's barcode: a repeated
// scan of either merges into that row, so no two rows of a sale share them.
struct SaleRowKey
{
    int itemId = 0;
    QString cellBarcode; // empty but for size/colour rows

    bool operator==(const SaleRowKey&) const = default;
};

// One `dettbanco` row as the till shows it.
struct SaleRow
{
    int id = 0; // `dettbanco`.`ID`: the statements that change one row address it by its key
    SaleRowKey key;
    QString code, description, department, barcode, serial, size, colour;
    int quantity = 0;
    int discountPercent = 0;
    core::Money netPrice, publicPrice, subTotal, subPublic;
    bool bySerial = false;
    bool bySize = false;
};

// The totals of the header, all from the rows.
struct SaleTotals
{
    core::Money imponibile;  // sum of `SubTotale`
    core::Money totaleConto; // sum of `SubPubblico` (also `totaledocumento`, `DaPagare`)
    core::Money ivaTotale;   // totaleConto - imponibile
    int totaleArticoli = 0;  // sum of `quantita`
};

// The `dettbanco` rows of one sale and the header totals they make: every statement on the rows of a
// sale is here, bound to the sale's key, so no command touches another sale's rows.
class SaleRows
{
public:
    SaleRows(core::Db& db, int saleId) : m_db(db), m_saleId(saleId) {}

    QList<SaleRow> all() const;
    std::optional<SaleRow> find(const SaleRowKey& key) const;
    bool holdsPack() const;

    // A new row of quantity 1 for the item (a serial or a size/colour cell when given).
    void append(const SaleItem& item, const SaleRowKey& key, const QString& serial, const QString& size,
                const QString& colour);
    // The row with this quantity, its discount and prices; `SubTotale` and `SubPubblico` net of the
    // discount.
    void setPricing(const SaleRow& row, int quantity, int discountPercent, core::Money netPrice,
                    core::Money publicPrice);
    // The row sold as another item, at that item's prices, without discount.
    void setItem(const SaleRow& row, const SaleItem& item, int quantity);
    void remove(const SaleRow& row);
    void removeAll();
    // Rows left without a description; only this sale's.
    void removeEmpty();
    void setSuspended(bool suspended);

    // The totals summed in one query and written to the header.
    SaleTotals recomputeTotals();

private:
    core::Db& m_db;
    int m_saleId;
};

} // namespace carvendo::pos
