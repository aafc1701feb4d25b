#include "pos/Sale.h"

#include "pos/PaymentType.h"

#include "stock/serials/SerialSales.h"
#include "stock/sizes/GridCells.h"

#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/Error.h"
#include "core/Session.h"

namespace carvendo::pos {

namespace {

const QString kDocumentKind = QStringLiteral("Pos");
// A sale waiting to be resumed: suspended and never closed.
const QString kSuspended = QStringLiteral("vendita_sospesa = 1 AND COALESCE(NumDoc, 0) = 0");

} // namespace

Sale::Sale(core::Db& db, core::Dialogs& dialogs, const core::Session& session)
    : m_db(db), m_dialogs(dialogs), m_session(session)
{
}

QString Sale::serialDocument()
{
    return kDocumentKind;
}

QString Sale::openCondition()
{
    return QStringLiteral("COALESCE(vendita_sospesa, 0) = 0 AND COALESCE(NumDoc, 0) = 0");
}

QString Sale::notOpenMessage()
{
    return QStringLiteral(
        "La vendita non è più aperta: è stata sospesa, chiusa o annullata da un'altra postazione");
}

void Sale::open(const QString& tillOperator)
{
    core::Transaction transaction(m_db);
    const int id = insertHeader(tillOperator);
    transaction.commit();
    m_id = id;
    m_totals = {};
    m_paymentType.clear();
    m_received = {};
}

void Sale::setOperator(const QString& tillOperator)
{
    core::Transaction transaction(m_db);
    lockOpen();
    m_db.exec(QStringLiteral("UPDATE banco SET Operatore = NULLIF(:OPERATORE, '') WHERE id = :IDBANCO"),
              {{QStringLiteral("OPERATORE"), tillOperator.left(50)}, {QStringLiteral("IDBANCO"), m_id}});
    transaction.commit();
}

int Sale::insertHeader(const QString& tillOperator)
{
    m_db.exec(
        QStringLiteral("INSERT INTO banco (FatturaGen, ScadGenerata, RicevutaGen, data, Operatore, "
                       "vendita_sospesa, idMagazzino, Magazzino, TotaleConto, totaledocumento, DaPagare, "
                       "imponibile, ivatotale, Totalearticoli) VALUES (0, 0, 0, CURRENT_DATE, "
                       "NULLIF(:OPERATORE, ''), 0, :IDMAGAZZINO, :MAGAZZINO, 0, 0, 0, 0, 0, 0)"),
        {{QStringLiteral("OPERATORE"), tillOperator.left(50)},
         {QStringLiteral("IDMAGAZZINO"), m_session.warehouse().id},
         {QStringLiteral("MAGAZZINO"), m_session.warehouse().name.left(120)}});
    return int(m_db.lastInsertId());
}

void Sale::lockOpen()
{
    if (m_db.query(QStringLiteral("SELECT id FROM banco WHERE id = :IDBANCO AND ") + openCondition() +
                       QStringLiteral(" FOR UPDATE"),
                   {{QStringLiteral("IDBANCO"), m_id}})
            .isEmpty())
        throw core::Error(notOpenMessage(), core::Error::Kind::Refusal);
}

void Sale::refuse(const QString& message)
{
    m_dialogs.beep();
    m_dialogs.warning(message);
}

std::optional<SaleItem> Sale::itemById(int itemId) const
{
    const core::Rows rows = m_db.query(QStringLiteral("SELECT ") + SaleItem::columns() +
                                           QStringLiteral(" FROM articoli WHERE ID = :ID"),
                                       {{QStringLiteral("ID"), itemId}});
    if (rows.isEmpty())
        return std::nullopt;
    return SaleItem::fromRow(rows.first());
}

bool Sale::refusedPack(const SaleItem& item)
{
    if (!item.isPack || !SaleRows(m_db, m_id).holdsPack())
        return false;
    refuse(QStringLiteral("Puoi scaricare solo 1 Vodafone Pack per vendita"));
    return true;
}

void Sale::addUnit(const SaleItem& item, const SaleRowKey& key, const QString& serial, const QString& size,
                   const QString& colour)
{
    SaleRows rows(m_db, m_id);
    // A repeated scan is one more unit on the item's row, at the item's price and without discount.
    if (const std::optional<SaleRow> row = rows.find(key))
        rows.setPricing(*row, row->quantity + 1, 0, item.netPrice, item.publicPrice);
    else
        rows.append(item, key, serial, size, colour);
}

bool Sale::addByBarcode(const QString& text)
{
    const QString code = text.trimmed();
    if (code.isEmpty() || code == QStringLiteral("0")) {
        refuse(QStringLiteral("Inserire la quantita!"));
        return false;
    }
    const core::Rows items =
        m_db.query(QStringLiteral("SELECT ") + SaleItem::columns() +
                       QStringLiteral(" FROM articoli WHERE BarcodeFull = :BARCODE LIMIT 1"),
                   {{QStringLiteral("BARCODE"), code}});
    if (!items.isEmpty()) {
        const SaleItem item = SaleItem::fromRow(items.first());
        return addWithinCommand(item, {item.id, {}});
    }
    return addSerial(code) || addCell(code);
}

bool Sale::addItem(int itemId)
{
    const std::optional<SaleItem> item = itemById(itemId);
    return item && addWithinCommand(*item, {item->id, {}});
}

bool Sale::addWithinCommand(const SaleItem& item, const SaleRowKey& key, const QString& serial,
                            const QString& size, const QString& colour, const std::function<void()>& takeUnit)
{
    core::Transaction transaction(m_db);
    lockOpen();
    if (refusedPack(item))
        return false;
    addUnit(item, key, serial, size, colour);
    if (takeUnit)
        takeUnit();
    m_totals = SaleRows(m_db, m_id).recomputeTotals();
    transaction.commit();
    return true;
}

bool Sale::addSerial(const QString& serial)
{
    stock::SerialSales serials(m_db, stock::actorOf(m_session));
    const std::optional<stock::SerialItem> owner = serials.itemOf(serial);
    const std::optional<SaleItem> item = owner ? itemById(owner->itemId) : std::nullopt;
    // Taken by deleting it: of two tills scanning the same serial, the second is refused and keeps
    // no row.
    return item && addWithinCommand(*item, {item->id, {}}, serial, {}, {}, [&] {
               serials.sell(item->id, serial, {kDocumentKind, m_id, {}, 0, {}});
           });
}

bool Sale::addCell(const QString& barcode)
{
    stock::GridCells cells(m_db);
    const std::optional<stock::GridCell> cell = cells.find(barcode, m_session.warehouse().id);
    const std::optional<SaleItem> item = cell ? itemById(cell->itemId) : std::nullopt;
    return item && addWithinCommand(*item, {item->id, cell->barcode}, {}, cell->sizeLabel, cell->colour,
                                    [&] { cells.add(*cell, -1); });
}

void Sale::editRow(const SaleRowKey& key, int quantity, int discountPercent, core::Money unitPrice)
{
    if (quantity < 1)
        throw core::Error(QStringLiteral("Inserire la quantita!"), core::Error::Kind::Refusal);
    if (discountPercent < 0 || discountPercent > 100)
        throw core::Error(QStringLiteral("Lo sconto deve essere compreso tra 0 e 100"),
                          core::Error::Kind::Refusal);
    core::Transaction transaction(m_db);
    lockOpen();
    SaleRows rows(m_db, m_id);
    const std::optional<SaleRow> row = rows.find(key);
    if (!row)
        return;
    if (row->bySerial && quantity != row->quantity)
        throw core::Error(QStringLiteral("La quantità di un articolo con seriale cambia scansionando o "
                                         "rimuovendo i seriali"),
                          core::Error::Kind::Refusal);
    if (row->bySize && quantity != row->quantity) {
        stock::GridCells cells(m_db);
        if (const std::optional<stock::GridCell> cell = cells.find(key.cellBarcode, m_session.warehouse().id))
            cells.add(*cell, row->quantity - quantity);
    }
    // A new price with VAT keeps the row's ratio of net to public price.
    core::Money netPrice = row->netPrice;
    if (unitPrice != row->publicPrice)
        netPrice = row->publicPrice.isZero()
                       ? unitPrice
                       : row->netPrice.multipliedBy(unitPrice).dividedBy(row->publicPrice);
    rows.setPricing(*row, quantity, discountPercent, netPrice, unitPrice);
    m_totals = rows.recomputeTotals();
    transaction.commit();
}

void Sale::changeRowItem(const SaleRowKey& key, int itemId)
{
    const std::optional<SaleItem> item = itemById(itemId);
    if (!item)
        return;
    core::Transaction transaction(m_db);
    lockOpen();
    SaleRows rows(m_db, m_id);
    const std::optional<SaleRow> row = rows.find(key);
    if (!row || item->id == key.itemId)
        return;
    if (row->bySerial || row->bySize || item->bySerial || item->bySize)
        throw core::Error(
            QStringLiteral("Un articolo con seriale o con taglie e colori non si cambia sulla riga: "
                           "rimuovere la riga e scansionarlo"),
            core::Error::Kind::Refusal);
    if (refusedPack(*item))
        return;
    const SaleRowKey target{item->id, {}};
    if (const std::optional<SaleRow> same = rows.find(target)) {
        // The item is on the sale already: one row of both quantities.
        rows.setPricing(*same, same->quantity + row->quantity, 0, item->netPrice, item->publicPrice);
        rows.remove(*row);
    } else {
        rows.setItem(*row, *item, row->quantity);
    }
    m_totals = rows.recomputeTotals();
    transaction.commit();
}

void Sale::giveBack(const SaleRow& row)
{
    if (row.bySerial)
        stock::SerialSales(m_db, stock::actorOf(m_session)).giveBack(row.key.itemId, kDocumentKind, m_id);
    if (row.bySize && !row.key.cellBarcode.isEmpty()) {
        stock::GridCells cells(m_db);
        if (const std::optional<stock::GridCell> cell =
                cells.find(row.key.cellBarcode, m_session.warehouse().id))
            cells.add(*cell, row.quantity);
    }
}

void Sale::removeRow(const SaleRowKey& key)
{
    core::Transaction transaction(m_db);
    lockOpen();
    SaleRows rows(m_db, m_id);
    const std::optional<SaleRow> row = rows.find(key);
    if (!row)
        return;
    giveBack(*row);
    rows.remove(*row);
    m_totals = rows.recomputeTotals();
    transaction.commit();
}

QList<SaleRow> Sale::rows() const
{
    return SaleRows(m_db, m_id).all();
}

QString Sale::paymentType() const
{
    return PaymentType::orCash(m_paymentType);
}

bool Sale::suspend()
{
    if (rows().isEmpty()) {
        refuse(QStringLiteral("Nessuna vendita in corso da poter sospendere"));
        return false;
    }
    core::Transaction transaction(m_db);
    if (m_db.exec(QStringLiteral("UPDATE banco SET vendita_sospesa = 1 WHERE id = :IDBANCO AND ") +
                      openCondition(),
                  {{QStringLiteral("IDBANCO"), m_id}}) == 0)
        throw core::Error(notOpenMessage(), core::Error::Kind::Refusal);
    SaleRows(m_db, m_id).setSuspended(true);
    const int next = insertHeader({});
    transaction.commit();
    m_id = next;
    m_totals = {};
    m_paymentType.clear();
    m_received = {};
    return true;
}

QList<SuspendedSale> Sale::suspendedSales() const
{
    QList<SuspendedSale> sales;
    for (const core::Row& row : m_db.query(QStringLiteral("SELECT id, data, TotaleConto FROM banco WHERE ") +
                                           kSuspended + QStringLiteral(" ORDER BY id")))
        sales.append({row["id"].toInt(), row["data"].toDate(), row["TotaleConto"].toMoney()});
    return sales;
}

bool Sale::resume(int saleId, const std::optional<QString>& servedBy)
{
    if (suspendedSales().isEmpty()) {
        refuse(QStringLiteral("Nessuna vendita in sospeso da riprendere"));
        return false;
    }
    if (!rows().isEmpty()) {
        m_dialogs.beep();
        if (!m_dialogs.confirm(QStringLiteral(
                "Attenzione! Se continui verrà annullata la vendita in corso! Vuoi continuare?")))
            return false;
    }
    core::Transaction transaction(m_db);
    // Claimed first: of two workstations resuming the same sale one gets it, and the other keeps its own.
    if (m_db.exec(QStringLiteral(
                      "UPDATE banco SET vendita_sospesa = 0, Operatore = IF(:NUOVO, NULLIF(:OPERATORE, ''), "
                      "Operatore) WHERE id = :IDBANCO AND ") +
                      kSuspended,
                  {{QStringLiteral("NUOVO"), servedBy.has_value()},
                   {QStringLiteral("OPERATORE"), servedBy.value_or(QString()).left(50)},
                   {QStringLiteral("IDBANCO"), saleId}}) == 0)
        throw core::Error(QStringLiteral("La vendita sospesa è già stata ripresa da un'altra postazione"),
                          core::Error::Kind::Refusal);
    SaleRows resumed(m_db, saleId);
    resumed.setSuspended(false);
    discardWithin();
    const SaleTotals totals = resumed.recomputeTotals();
    transaction.commit();
    m_id = saleId;
    m_totals = totals;
    m_paymentType.clear();
    m_received = {};
    return true;
}

void Sale::discard()
{
    core::Transaction transaction(m_db);
    discardWithin();
    transaction.commit();
    m_id = 0;
    m_totals = {};
}

void Sale::discardWithin()
{
    // Only a sale still open is discarded: one closed or suspended meanwhile stays as it is.
    if (m_db.exec(QStringLiteral("DELETE FROM banco WHERE id = :IDBANCO AND ") + openCondition(),
                  {{QStringLiteral("IDBANCO"), m_id}}) == 0)
        return;
    SaleRows rows(m_db, m_id);
    for (const SaleRow& row : rows.all())
        giveBack(row);
    rows.removeAll();
}

} // namespace carvendo::pos
