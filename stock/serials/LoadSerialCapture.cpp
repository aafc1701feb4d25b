#include "stock/serials/LoadSerialCapture.h"

#include "stock/serials/LotNumbering.h"
#include "stock/serials/SerialRefusal.h"
#include "stock/serials/SerialStock.h"

#include "stock/SerialHistory.h"

#include "core/BoundList.h"
#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/Error.h"

#include <algorithm>

namespace carvendo::stock {

namespace {

QVariantList idList(const auto& ids)
{
    QVariantList list;
    for (const int id : ids)
        list.append(id);
    return list;
}

QString serialTooLong()
{
    return QStringLiteral("Attenzione! Il Seriale non può superare %1 caratteri.")
        .arg(SerialStock::kMaxSerialLength);
}

} // namespace

LoadSerialCapture::LoadSerialCapture(core::Db& db, core::Dialogs& dialogs, int loadId, int supplierId,
                                     SerialItem item, SerialActor actor)
    : m_db(db), m_dialogs(dialogs), m_loadId(loadId), m_supplierId(supplierId), m_item(std::move(item)),
      m_actor(std::move(actor))
{
}

bool LoadSerialCapture::refuse(const QString& text)
{
    m_dialogs.warning(text);
    return false;
}

bool LoadSerialCapture::add(const QString& typed, SerialEntry how)
{
    const QString serial = typed.trimmed();
    if (serial.isEmpty())
        return refuse(
            how == SerialEntry::Button
                ? QStringLiteral("Attenzione! Inserire nella casella di testo un seriale da caricare.")
                : QStringLiteral("Attenzione! Inserire il Numero Seriale da Caricare in Magazzino"));
    if (serial.size() > SerialStock::kMaxSerialLength)
        return refuse(serialTooLong());
    try {
        SerialWriteLock lock(m_db);
        core::Transaction transaction(m_db);
        SerialStock stock(m_db);
        if (!stock.existing({serial}).isEmpty())
            return refuse(SerialStock::duplicateMessage());
        const int id = stock.add(StockSerial{m_item, serial, m_loadId, m_supplierId, 0, {}}, m_actor);
        SerialHistory(m_db).recordFromStock(SerialEvent::Caricato, QStringLiteral("s.ID = :ID"),
                                            {{QStringLiteral("ID"), id}}, m_actor);
        transaction.commit();
        m_entries.append({id, serial});
        return true;
    } catch (const core::Error& error) {
        if (!isOwnRefusal(m_db, error))
            throw;
        return refuse(error.message());
    }
}

bool LoadSerialCapture::remove(const QString& typed)
{
    const QString serial = typed.trimmed();
    const auto entry = std::find_if(m_entries.cbegin(), m_entries.cend(), [&](const Entry& e) {
        return e.serial.compare(serial, Qt::CaseInsensitive) == 0;
    });
    if (entry == m_entries.cend())
        return refuse(QStringLiteral("Attenzione! Selezionare un seriale caricato in questa riga."));
    core::Transaction transaction(m_db);
    SerialHistory(m_db).recordFromStock(SerialEvent::Eliminato, QStringLiteral("s.ID = :ID"),
                                        {{QStringLiteral("ID"), entry->id}}, m_actor);
    if (SerialStock(m_db).removeByIds({entry->id}) == 0)
        return refuse(QStringLiteral("Attenzione! Il seriale %1 non è più in magazzino.").arg(entry->serial));
    transaction.commit();
    m_entries.erase(entry);
    return true;
}

bool LoadSerialCapture::addLot(const QString& lotBarcode, const QString& firstSerial, int count)
{
    const QString barcode = lotBarcode.trimmed();
    if (barcode.isEmpty())
        return refuse(QStringLiteral("Attenzione! Inserire il Barcode del Lotto."));
    if (barcode.size() > SerialStock::kMaxSerialLength)
        return refuse(QStringLiteral("Attenzione! Il Barcode del Lotto non può superare %1 caratteri.")
                          .arg(SerialStock::kMaxSerialLength));
    if (firstSerial.trimmed().size() > SerialStock::kMaxSerialLength)
        return refuse(serialTooLong());
    try {
        const QStringList numbered = lotSerials(firstSerial, count);
        SerialWriteLock lock(m_db);
        core::Transaction transaction(m_db);
        SerialStock stock(m_db);
        const QStringList taken = stock.existing(numbered);
        if (!taken.isEmpty())
            return refuse(QStringLiteral("Attenzione! I seguenti seriali del lotto risultano già presenti "
                                         "nell'archivio: %1. Il lotto non è stato caricato.")
                              .arg(taken.mid(0, 10).join(QStringLiteral(", ")) +
                                   (taken.size() > 10 ? QStringLiteral(", ...") : QString())));
        m_db.exec(
            QStringLiteral(
                "INSERT INTO lotti (Codice, Descrizione, Anno, Mese, Data, idarticolo, idcarico, "
                "idfornitore, "
                "Barcode, Quantita, Dal, Al, Disponibile) VALUES (LEFT(:CODICE, 50), LEFT(:DESCRIZIONE, 50), "
                "YEAR(CURRENT_DATE), MONTH(CURRENT_DATE), DATE_FORMAT(CURRENT_DATE, '%d/%m/%Y'), "
                ":IDARTICOLO, :IDCARICO, :IDFORNITORE, :BARCODE, :QUANTITA, :DAL, :AL, 1)"),
            {{QStringLiteral("CODICE"), m_item.code},
             {QStringLiteral("DESCRIZIONE"), m_item.description},
             {QStringLiteral("IDARTICOLO"), m_item.itemId},
             {QStringLiteral("IDCARICO"), m_loadId},
             {QStringLiteral("IDFORNITORE"), m_supplierId},
             {QStringLiteral("BARCODE"), barcode},
             {QStringLiteral("QUANTITA"), count},
             {QStringLiteral("DAL"), numbered.first()},
             {QStringLiteral("AL"), numbered.last()}});
        const int lotId = int(m_db.lastInsertId());
        QList<StockSerial> rows;
        rows.reserve(numbered.size());
        for (const QString& serial : numbered)
            rows.append(StockSerial{m_item, serial, m_loadId, m_supplierId, lotId, barcode});
        stock.add(rows, m_actor);
        const core::Params lot{{QStringLiteral("IDLOTTO"), lotId}};
        SerialHistory(m_db).recordFromStock(SerialEvent::Caricato, QStringLiteral("s.idLotto = :IDLOTTO"),
                                            lot, m_actor);
        const core::Rows written = m_db.query(
            QStringLiteral("SELECT ID, Seriale FROM seriali WHERE idLotto = :IDLOTTO ORDER BY ID"), lot);
        transaction.commit();
        for (const core::Row& row : written)
            m_entries.append({row.at(0).toInt(), row.at(1).toString()});
        m_lotIds.append(lotId);
        return true;
    } catch (const core::Error& error) {
        if (!isOwnRefusal(m_db, error))
            throw;
        return refuse(error.message());
    }
}

QStringList LoadSerialCapture::serials() const
{
    QStringList list;
    for (const Entry& entry : m_entries)
        list.append(entry.serial);
    return list;
}

QStringList LoadSerialCapture::itemSerialsInWarehouse() const
{
    const core::Rows rows = m_db.query(
        QStringLiteral(
            "SELECT Seriale FROM seriali WHERE idArticolo = :IDARTICOLO AND idMagazzino = :IDMAGAZZINO "
            "ORDER BY ID"),
        {{QStringLiteral("IDARTICOLO"), m_item.itemId},
         {QStringLiteral("IDMAGAZZINO"), m_actor.warehouseId}});
    QStringList list;
    for (const core::Row& row : rows)
        list.append(row.at(0).toString());
    return list;
}

void LoadSerialCapture::discard()
{
    if (m_entries.isEmpty() && m_lotIds.isEmpty())
        return;
    QList<int> ids;
    for (const Entry& entry : m_entries)
        ids.append(entry.id);
    core::Transaction transaction(m_db);
    SerialHistory history(m_db);
    core::forEachSlice(QStringLiteral("ID"), idList(ids), [&](const core::BoundList& slice) {
        history.recordFromStock(SerialEvent::Eliminato,
                                QStringLiteral("s.ID IN (%1)").arg(slice.placeholders), slice.params,
                                m_actor);
    });
    SerialStock(m_db).removeByIds(ids);
    core::forEachSlice(QStringLiteral("L"), idList(m_lotIds), [&](const core::BoundList& slice) {
        m_db.exec(QStringLiteral("DELETE FROM lotti WHERE idLotto IN (%1)").arg(slice.placeholders),
                  slice.params);
    });
    transaction.commit();
    m_entries.clear();
    m_lotIds.clear();
}

} // namespace carvendo::stock
