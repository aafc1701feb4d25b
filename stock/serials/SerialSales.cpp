#include "stock/serials/SerialSales.h"

#include "stock/serials/SerialStock.h"

#include "stock/SerialHistory.h"

#include "core/Db.h"
#include "core/Error.h"
#include "core/StoredProcedures.h"

namespace carvendo::stock {

SerialSales::SerialSales(core::Db& db, SerialActor actor) : m_db(db), m_actor(std::move(actor)) {}

QString SerialSales::unavailableMessage()
{
    return QStringLiteral("Attenzione! Seriale non disponibile");
}

void SerialSales::sell(int itemId, const QString& serial, const SerialDocument& document)
{
    core::Transaction transaction(m_db);
    // Taken by deleting it: a second workstation selling the same serial waits for this row and then
    // deletes nothing.
    const core::Rows taken = m_db.query(
        QStringLiteral("DELETE FROM seriali WHERE idArticolo = :IDARTICOLO AND Seriale = :SERIALE AND ") +
            SerialStock::sellableCondition() +
            QStringLiteral(" RETURNING Seriale, idCarico, CodArticolo, Descrizione, Barcode, idFornitore"),
        {{QStringLiteral("IDARTICOLO"), itemId}, {QStringLiteral("SERIALE"), serial}});
    if (taken.isEmpty())
        throw core::Error(unavailableMessage(), core::Error::Kind::Refusal);
    const core::Row row = taken.first();
    m_db.exec(
        QStringLiteral("INSERT INTO serialidocumenti (Documento, idDocumento, Seriale, idArticolo, idCarico, "
                       "codarticolo, descrizione, barcode, idFornitore, idCliente, DataScarico, idMagazzino, "
                       "Magazzino, idOperatore, Operatore) VALUES (:DOCUMENTO, :IDDOCUMENTO, :SERIALE, "
                       ":IDARTICOLO, :IDCARICO, :CODICE, :DESCRIZIONE, LEFT(:BARCODE, 21), :IDFORNITORE, "
                       ":IDCLIENTE, CURRENT_DATE, :IDMAGAZZINO, LEFT(:MAGAZZINO, 120), :IDOPERATORE, "
                       "LEFT(:OPERATORE, 120))"),
        {{QStringLiteral("DOCUMENTO"), document.kind},
         {QStringLiteral("IDDOCUMENTO"), document.id},
         {QStringLiteral("SERIALE"), row["Seriale"].variant()},
         {QStringLiteral("IDARTICOLO"), itemId},
         {QStringLiteral("IDCARICO"), row["idCarico"].variant()},
         {QStringLiteral("CODICE"), row["CodArticolo"].variant()},
         {QStringLiteral("DESCRIZIONE"), row["Descrizione"].variant()},
         {QStringLiteral("BARCODE"), row["Barcode"].variant()},
         {QStringLiteral("IDFORNITORE"), row["idFornitore"].variant()},
         {QStringLiteral("IDCLIENTE"), document.customerId},
         {QStringLiteral("IDMAGAZZINO"), m_actor.warehouseId},
         {QStringLiteral("MAGAZZINO"), m_actor.warehouseName},
         {QStringLiteral("IDOPERATORE"), m_actor.operatorId},
         {QStringLiteral("OPERATORE"), m_actor.operatorName}});
    SerialHistory(m_db).record({.event = SerialEvent::Venduto,
                                .serial = row["Seriale"].toString(),
                                .itemId = itemId,
                                .document = document.kind,
                                .documentId = document.id,
                                .documentNumber = document.number,
                                .loadId = row["idCarico"].toInt(),
                                .partyId = document.customerId,
                                .party = document.customerName,
                                .reason = {}},
                               m_actor);
    transaction.commit();
}

int SerialSales::giveBack(int itemId, const QString& documentKind, int documentId)
{
    return giveBackLinked(
        QStringLiteral(
            "sd.idArticolo = :IDARTICOLO AND sd.Documento = :DOCUMENTO AND sd.idDocumento = :IDDOCUMENTO"),
        {{QStringLiteral("IDARTICOLO"), itemId},
         {QStringLiteral("DOCUMENTO"), documentKind},
         {QStringLiteral("IDDOCUMENTO"), documentId}},
        [&] { core::StoredProcedures(m_db).deleteSerialiDoc(itemId, documentId, documentKind); });
}

int SerialSales::giveBackSerial(int itemId, const QString& serial, const QString& documentKind,
                                int documentId)
{
    const QString condition = QStringLiteral("sd.idArticolo = :IDARTICOLO AND sd.Documento = :DOCUMENTO AND "
                                             "sd.idDocumento = :IDDOCUMENTO AND sd.Seriale = :SERIALE");
    const core::Params links{{QStringLiteral("IDARTICOLO"), itemId},
                             {QStringLiteral("DOCUMENTO"), documentKind},
                             {QStringLiteral("IDDOCUMENTO"), documentId},
                             {QStringLiteral("SERIALE"), serial}};
    return giveBackLinked(condition, links, [&] {
        m_db.exec(QStringLiteral("DELETE sd FROM serialidocumenti sd WHERE ") + condition, links);
    });
}

int SerialSales::giveBackLinked(const QString& condition, const core::Params& links,
                                const std::function<void()>& unlink)
{
    core::Transaction transaction(m_db);
    // The links are claimed first: a second workstation removing the same row waits here and then
    // finds none to give back.
    const int count = m_db.query(QStringLiteral("SELECT sd.id FROM serialidocumenti sd WHERE ") + condition +
                                     QStringLiteral(" FOR UPDATE"),
                                 links)
                          .size();
    if (count == 0)
        return 0;
    SerialHistory(m_db).recordFromLinks(SerialEvent::Reso, condition, links, m_actor);
    SerialStock(m_db).addFromLinks(condition, links);
    unlink();
    transaction.commit();
    return count;
}

std::optional<SerialItem> SerialSales::itemOf(const QString& serial) const
{
    const core::Rows rows =
        m_db.query(QStringLiteral("SELECT idArticolo, CodArticolo, Descrizione, Barcode FROM "
                                  "seriali WHERE Seriale = :SERIALE AND ") +
                       SerialStock::sellableCondition() + QStringLiteral(" LIMIT 1"),
                   {{QStringLiteral("SERIALE"), serial.trimmed()}});
    if (rows.isEmpty())
        return std::nullopt;
    const core::Row row = rows.first();
    return SerialItem{row["idArticolo"].toInt(), row["CodArticolo"].toString(), row["Descrizione"].toString(),
                      row["Barcode"].toString()};
}

} // namespace carvendo::stock
