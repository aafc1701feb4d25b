#include "stock/serials/Lotti.h"

#include "core/Db.h"
#include "core/Dialogs.h"

namespace carvendo::stock {

Lotti::Lotti(core::Db& db, core::Dialogs& dialogs, QObject* parent)
    : QObject(parent), m_db(db), m_dialogs(dialogs)
{
}

bool Lotti::search(const QString& typed)
{
    const QString barcode = typed.trimmed();
    if (barcode.isEmpty()) {
        m_dialogs.warning(QStringLiteral("Inserire il barcode del lotto da cercare"));
        return false;
    }
    m_lots =
        m_db.query(QStringLiteral("SELECT idLotto, Barcode, Codice, Descrizione, Data, Quantita, Dal, Al, "
                                  "idcarico FROM lotti WHERE Barcode = :BARCODE ORDER BY idLotto"),
                   {{QStringLiteral("BARCODE"), barcode}});
    emit lotsChanged();
    if (m_lots.isEmpty())
        m_dialogs.information(QStringLiteral("Nessun lotto trovato con questo barcode"));
    setCurrentLot(m_lots.isEmpty() ? -1 : 0);
    return true;
}

void Lotti::setCurrentLot(int row)
{
    m_serials = row < 0 || row >= m_lots.size()
                    ? core::Rows()
                    : m_db.query(QStringLiteral(
                                     "SELECT ID, Seriale, CodArticolo, Descrizione, Magazzino, Disponibile "
                                     "FROM seriali WHERE idLotto = :IDLOTTO ORDER BY ID"),
                                 {{QStringLiteral("IDLOTTO"), m_lots.value(row, "idLotto").toInt()}});
    emit serialsChanged();
}

} // namespace carvendo::stock
