#include "stock/serials/LoadSerials.h"

#include "stock/SerialHistory.h"

#include "core/Db.h"

namespace carvendo::stock::LoadSerials {

void blockRow(core::Db& db, int loadId, int itemId, const SerialActor& actor)
{
    const core::Params row{{QStringLiteral("IDCARICO"), loadId}, {QStringLiteral("IDARTICOLO"), itemId}};
    core::Transaction transaction(db);
    SerialHistory(db).recordFromStock(
        SerialEvent::Bloccato,
        QStringLiteral("s.idCarico = :IDCARICO AND s.idArticolo = :IDARTICOLO AND s.Disponibile <> 0"), row,
        actor);
    db.exec(QStringLiteral(
                "UPDATE seriali SET Disponibile = 0 WHERE idCarico = :IDCARICO AND idArticolo = :IDARTICOLO"),
            row);
    transaction.commit();
}

void deleteLoad(core::Db& db, int loadId, const SerialActor& actor)
{
    const core::Params load{{QStringLiteral("IDCARICO"), loadId}};
    core::Transaction transaction(db);
    SerialHistory(db).recordFromStock(SerialEvent::Eliminato, QStringLiteral("s.idCarico = :IDCARICO"), load,
                                      actor);
    db.exec(QStringLiteral("DELETE FROM seriali WHERE idCarico = :IDCARICO"), load);
    db.exec(QStringLiteral("DELETE FROM lotti WHERE idcarico = :IDCARICO"), load);
    transaction.commit();
}

} // namespace carvendo::stock::LoadSerials
