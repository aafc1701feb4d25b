#pragma once

#include "pos/SaleRows.h"

#include "core/Money.h"

#include <QDate>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace carvendo::core {
class Db;
class Dialogs;
class Session;
} // namespace carvendo::core

namespace carvendo::pos {

// A sale waiting on the "Vendite in sospeso" page.
struct SuspendedSale
{
    int id = 0;
    QDate date;
    core::Money total;
};

// The sale being rung up at a till: a `banco` header with its `dettbanco` rows. Every till (keyboard,
// touch, cash desk) works through it. Each command is one transaction that first locks the header
// while the sale is still open, so a sale suspended, resumed or closed by another workstation is
// never written by this one. Serials and size/colour cells leave stock when scanned and go back when
// their row is removed or the sale discarded. A closing takes rows() and totals() and claims the sale
// with `UPDATE banco ... WHERE id = :ID AND ` + openCondition().
class Sale
{
public:
    Sale(core::Db& db, core::Dialogs& dialogs, const core::Session& session);

    // The condition (on `banco`) of a sale still open: neither suspended nor closed (a closing gives
    // it its number).
    static QString openCondition();
    static QString notOpenMessage();
    // `serialidocumenti`.`Documento` of the serials a sale holds ("Pos").
    static QString serialDocument();

    // A new header for the next sale; tillOperator is the operator logged in at the till, if any.
    void open(const QString& tillOperator = {});
    int id() const { return m_id; }
    // The operator logging in at the till (empty at logout) becomes the open sale's operator.
    void setOperator(const QString& tillOperator);

    // Enter in the scanner field: an item barcode, else a serial in stock, else a size/colour cell
    // of this warehouse. False when nothing was added.
    bool addByBarcode(const QString& text);
    // An item picked on the search page.
    bool addItem(int itemId);
    // The grid's cells of a row edited: quantity, discount in percent, unit price with VAT.
    void editRow(const SaleRowKey& row, int quantity, int discountPercent, core::Money unitPrice);
    void changeRowItem(const SaleRowKey& row, int itemId);
    void removeRow(const SaleRowKey& row);

    QList<SaleRow> rows() const;
    const SaleTotals& totals() const { return m_totals; }

    // An empty payment type is cash.
    void setPaymentType(const QString& paymentType) { m_paymentType = paymentType; }
    QString paymentType() const;
    // Typed or set by a banknote button: either replaces the amount received.
    void setReceived(core::Money amount) { m_received = amount; }
    core::Money received() const { return m_received; }
    core::Money change() const { return m_received - m_totals.totaleConto; }

    bool suspend();
    QList<SuspendedSale> suspendedSales() const;
    // servedBy, when given, becomes the resumed sale's operator in the same write (empty: nobody).
    bool resume(int saleId, const std::optional<QString>& servedBy = std::nullopt);
    // The open sale's rows and header go; their serials and size/colour cells come back to stock.
    void discard();

private:
    int insertHeader(const QString& tillOperator);
    void lockOpen();
    std::optional<SaleItem> itemById(int itemId) const;
    bool refusedPack(const SaleItem& item);
    // Adds one unit of the item to its row (merging a repeated scan) within the caller's transaction.
    void addUnit(const SaleItem& item, const SaleRowKey& key, const QString& serial = {},
                 const QString& size = {}, const QString& colour = {});
    // One unit of the item onto the sale in one transaction: the header locked while the sale is
    // open, the pack limit, the row, what the unit takes from stock (a serial, a cell), the totals.
    bool addWithinCommand(const SaleItem& item, const SaleRowKey& key, const QString& serial = {},
                          const QString& size = {}, const QString& colour = {},
                          const std::function<void()>& takeUnit = {});
    bool addSerial(const QString& serial);
    bool addCell(const QString& barcode);
    // Serials and cells of a row go back to stock, within the caller's transaction.
    void giveBack(const SaleRow& row);
    void discardWithin(); // the open sale, within the caller's transaction
    void refuse(const QString& message);

    core::Db& m_db;
    core::Dialogs& m_dialogs;
    const core::Session& m_session;
    int m_id = 0;
    SaleTotals m_totals;
    QString m_paymentType;
    core::Money m_received;
};

} // namespace carvendo::pos
