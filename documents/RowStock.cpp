#include "documents/RowStock.h"

#include "stock/StockQuantity.h"

#include "core/Db.h"

namespace carvendo::documents {

namespace {

// A row's record is found through its document: the item is compared as an expression so that the
// server does not also read the item's index of a large ledger to filter the few records of the
// document (cold pages, most of a row's time on a shop's history). Every command on a document holds
// its header locked, so its records are read without locking: a locking read of a record not there yet
// would lock the index gap where other documents' records go, and two workstations putting the first
// rows on two new documents would wait for each other, or deadlock.
const QString RecordCondition = QStringLiteral(
    "idDoc = :IDDOC AND TipoDoc = :TIPODOC AND idArticolo + 0 = :IDARTICOLO AND IFNULL(Codice, '') = "
    ":CODICE AND IFNULL(Seriale, '') = :SERIALE");

} // namespace

RowStock::Moved RowStock::movedBy(int documentId, const RowKey& key) const
{
    const core::Rows found =
        m_db.query(QStringLiteral("SELECT quantita, idMagazzino FROM venduti WHERE ") + RecordCondition,
                   {{QStringLiteral("IDDOC"), documentId},
                    {QStringLiteral("TIPODOC"), QLatin1String(m_kind.soldDocument)},
                    {QStringLiteral("IDARTICOLO"), key.itemId},
                    {QStringLiteral("CODICE"), key.code},
                    {QStringLiteral("SERIALE"), key.serial}});
    if (found.isEmpty())
        return {};
    return {found.first()["quantita"].toDouble(), found.first()["idMagazzino"].toInt()};
}

void RowStock::follow(const StockOwner& owner, const DocumentRow& row)
{
    if (m_kind.stock != StockEffect::Unload || m_kind.soldDocument == nullptr || row.key.itemId == 0)
        return;
    const Moved before = movedBy(owner.documentId, row.key);
    const bool exists = before.warehouseId != 0;
    const int warehouse = exists ? before.warehouseId : owner.warehouseId;
    const std::optional<stock::SaleUnits> units = stock::saleUnitsOf(m_db, row.key.itemId);
    if (!units)
        return;
    const double target = stock::stockQuantity(row.quantity, *units);
    if (target != before.quantity)
        stock::unloadStockQuantity(m_db, row.key.itemId, warehouse, target - before.quantity);
    write(owner, row, target, exists);
}

void RowStock::write(const StockOwner& owner, const DocumentRow& row, double stockQuantity, bool exists)
{
    const core::Params params{{QStringLiteral("IDDOC"), owner.documentId},
                              {QStringLiteral("TIPODOC"), QLatin1String(m_kind.soldDocument)},
                              {QStringLiteral("IDARTICOLO"), row.key.itemId},
                              {QStringLiteral("CODICE"), row.key.code},
                              {QStringLiteral("SERIALE"), row.key.serial},
                              {QStringLiteral("QUANTITA"), stockQuantity},
                              {QStringLiteral("PUBBLICO"), row.amounts.subTotaleIvato.toDouble()},
                              {QStringLiteral("VENDITA"), row.amounts.subTotale.toDouble()},
                              {QStringLiteral("ACQUISTO"), row.amounts.subtotaleAcq.toDouble()},
                              {QStringLiteral("UTILE"), row.amounts.utileSubtotale.toDouble()},
                              {QStringLiteral("SCONTO"), row.discountPercent}};
    if (exists) {
        m_db.exec(QStringLiteral("UPDATE venduti SET quantita = :QUANTITA, PrezzoPubblico = :PUBBLICO, "
                                 "PrezzoVendita = :VENDITA, PrezzoAcquisto = :ACQUISTO, Utile = :UTILE, "
                                 "ScontoPerc = :SCONTO WHERE ") +
                      RecordCondition,
                  params);
        return;
    }
    core::Params insert = params;
    insert.insert(QStringLiteral("DESCRIZIONE"), row.description);
    insert.insert(QStringLiteral("IDCLIENTE"), owner.customerId);
    insert.insert(QStringLiteral("CLIENTE"), owner.customerName);
    insert.insert(QStringLiteral("ANNO"), owner.year);
    insert.insert(QStringLiteral("MESE"), owner.month);
    insert.insert(QStringLiteral("IDMAGAZZINO"), owner.warehouseId);
    insert.insert(QStringLiteral("MAGAZZINO"), owner.warehouseName);
    insert.insert(QStringLiteral("OPERATORE"), owner.operatorName);
    insert.insert(QStringLiteral("CONSERIALE"), row.bySerial ? 1 : 0);
    m_db.exec(
        QStringLiteral("INSERT INTO venduti (idDoc, TipoDoc, idArticolo, Codice, Seriale, quantita, "
                       "PrezzoPubblico, PrezzoVendita, PrezzoAcquisto, Utile, ScontoPerc, Descrizione, "
                       "idCliente, cliente, Anno, Mese, idMagazzino, Magazzino, Operatore, data, Ora, "
                       "ConSeriale) VALUES (:IDDOC, :TIPODOC, :IDARTICOLO, :CODICE, :SERIALE, :QUANTITA, "
                       ":PUBBLICO, :VENDITA, :ACQUISTO, :UTILE, :SCONTO, :DESCRIZIONE, :IDCLIENTE, "
                       "LEFT(:CLIENTE, 50), :ANNO, :MESE, :IDMAGAZZINO, LEFT(:MAGAZZINO, 50), "
                       "LEFT(:OPERATORE, 50), CURRENT_DATE, NOW(), :CONSERIALE)"),
        insert);
}

void RowStock::giveBack(int documentId, const RowKey& key)
{
    if (m_kind.soldDocument == nullptr || key.itemId == 0)
        return;
    const Moved moved = movedBy(documentId, key);
    if (moved.warehouseId == 0)
        return;
    stock::unloadStockQuantity(m_db, key.itemId, moved.warehouseId, -moved.quantity);
    m_db.exec(QStringLiteral("DELETE FROM venduti WHERE ") + RecordCondition,
              {{QStringLiteral("IDDOC"), documentId},
               {QStringLiteral("TIPODOC"), QLatin1String(m_kind.soldDocument)},
               {QStringLiteral("IDARTICOLO"), key.itemId},
               {QStringLiteral("CODICE"), key.code},
               {QStringLiteral("SERIALE"), key.serial}});
}

void RowStock::giveBackAll(int documentId)
{
    if (m_kind.soldDocument == nullptr)
        return;
    const core::Params document{{QStringLiteral("IDDOC"), documentId},
                                {QStringLiteral("TIPODOC"), QLatin1String(m_kind.soldDocument)}};
    // One move per item and warehouse, however many rows (a phone's serials) it had: the stock
    // procedure takes one item at a time.
    const core::Rows moved = m_db.query(
        QStringLiteral("SELECT idArticolo, idMagazzino, SUM(quantita) AS quantita FROM venduti WHERE idDoc "
                       "= :IDDOC AND TipoDoc = :TIPODOC GROUP BY idArticolo, idMagazzino ORDER BY "
                       "idArticolo"),
        document);
    for (const core::Row& r : moved)
        stock::unloadStockQuantity(m_db, r["idArticolo"].toInt(), r["idMagazzino"].toInt(),
                                   -r["quantita"].toDouble());
    m_db.exec(QStringLiteral("DELETE FROM venduti WHERE idDoc = :IDDOC AND TipoDoc = :TIPODOC"), document);
}

} // namespace carvendo::documents
