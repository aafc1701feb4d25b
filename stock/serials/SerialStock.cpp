#include "stock/serials/SerialStock.h"

#include "core/BoundList.h"
#include "core/Error.h"

namespace carvendo::stock {

namespace {

constexpr unsigned kDuplicateKey = 1062;

QVariantList toVariants(const auto& values)
{
    QVariantList list;
    list.reserve(values.size());
    for (const auto& value : values)
        list.append(value);
    return list;
}

// The unique index refuses a serial that is already in stock: the operator is told as by the check.
template <typename Write> void refusingDuplicates(Write write)
{
    try {
        write();
    } catch (const core::DbError& error) {
        if (error.errorCode() == kDuplicateKey)
            throw core::Error(SerialStock::duplicateMessage(), core::Error::Kind::Refusal);
        throw;
    }
}

const QString InsertColumns = QStringLiteral(
    "INSERT INTO seriali (idArticolo, CodArticolo, Descrizione, Barcode, Seriale, Disponibile, idCarico, "
    "idFornitore, idMagazzino, Magazzino, idOperatore, Operatore, idLotto, BarcodeLotto) ");

} // namespace

SerialWriteLock::SerialWriteLock(core::Db& db) : m_lock(db, QStringLiteral("seriali.Seriale")) {}

QString SerialStock::duplicateMessage()
{
    return QStringLiteral("Attenzione! Il Seriale inserito risulta già presente nell'archivio");
}

QStringList SerialStock::existing(const QStringList& serials) const
{
    QStringList found;
    core::forEachSlice(QStringLiteral("S"), toVariants(serials), [&](const core::BoundList& slice) {
        const core::Rows rows =
            m_db.query(QStringLiteral("SELECT Seriale FROM seriali WHERE Seriale IN (%1) ORDER BY Seriale")
                           .arg(slice.placeholders),
                       slice.params);
        for (const core::Row& row : rows)
            found.append(row.at(0).toString());
    });
    return found;
}

int SerialStock::add(const StockSerial& serial, const SerialActor& actor)
{
    add(QList<StockSerial>{serial}, actor);
    return int(m_db.lastInsertId());
}

void SerialStock::add(const QList<StockSerial>& serials, const SerialActor& actor)
{
    for (qsizetype from = 0; from < serials.size(); from += core::kBoundSlice) {
        const QList<StockSerial> slice = serials.mid(from, core::kBoundSlice);
        // What narrower columns hold is cut to them: a long item description must not stop a load.
        core::Params params{{QStringLiteral("IDMAGAZZINO"), actor.warehouseId},
                            {QStringLiteral("MAGAZZINO"), actor.warehouseName},
                            {QStringLiteral("IDOPERATORE"), actor.operatorId},
                            {QStringLiteral("OPERATORE"), actor.operatorName}};
        QStringList rows;
        for (qsizetype i = 0; i < slice.size(); ++i) {
            const StockSerial& s = slice.at(i);
            const QString n = QString::number(i);
            rows.append(
                QStringLiteral("(:A%1, LEFT(:C%1, 50), LEFT(:D%1, 50), LEFT(:B%1, 50), :S%1, 1, :L%1, "
                               ":F%1, :IDMAGAZZINO, LEFT(:MAGAZZINO, 120), :IDOPERATORE, "
                               "LEFT(:OPERATORE, 120), NULLIF(:LT%1, 0), :LB%1)")
                    .arg(n));
            params.insert(u'A' + n, s.item.itemId);
            params.insert(u'C' + n, s.item.code);
            params.insert(u'D' + n, s.item.description);
            params.insert(u'B' + n, s.item.barcode);
            params.insert(u'S' + n, s.serial);
            params.insert(u'L' + n, s.loadId);
            params.insert(u'F' + n, s.supplierId);
            params.insert(QStringLiteral("LT") + n, s.lotId);
            params.insert(QStringLiteral("LB") + n, s.lotBarcode);
        }
        try {
            m_db.exec(
                QStringLiteral("INSERT INTO seriali (idArticolo, CodArticolo, Descrizione, Barcode, Seriale, "
                               "Disponibile, idCarico, idFornitore, idMagazzino, Magazzino, idOperatore, "
                               "Operatore, idLotto, BarcodeLotto) VALUES ") +
                    rows.join(QStringLiteral(", ")),
                params);
        } catch (const core::DbError& error) {
            if (error.errorCode() == kDuplicateKey)
                throw core::Error(duplicateMessage(), core::Error::Kind::Refusal);
            throw;
        }
    }
}

void SerialStock::addFromLinks(const QString& condition, const core::Params& params)
{
    refusingDuplicates([&] {
        m_db.exec(InsertColumns +
                      QStringLiteral(
                          "SELECT sd.idArticolo, LEFT(sd.codarticolo, 50), LEFT(sd.descrizione, 50), "
                          "LEFT(sd.barcode, 50), sd.Seriale, 1, sd.idCarico, sd.idFornitore, sd.idMagazzino, "
                          "sd.Magazzino, sd.idOperatore, sd.Operatore, NULL, '' FROM serialidocumenti sd "
                          "WHERE ") +
                      condition + QStringLiteral(" ORDER BY sd.id"),
                  params);
    });
}

qint64 SerialStock::removeByIds(const QList<int>& ids)
{
    qint64 removed = 0;
    core::forEachSlice(QStringLiteral("ID"), toVariants(ids), [&](const core::BoundList& slice) {
        removed += m_db.exec(QStringLiteral("DELETE FROM seriali WHERE ID IN (%1)").arg(slice.placeholders),
                             slice.params);
    });
    return removed;
}

} // namespace carvendo::stock
