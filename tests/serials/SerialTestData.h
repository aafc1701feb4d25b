#pragma once

#include "stock/serials/SerialContext.h"

#include "core/Db.h"

namespace carvendo::testing {

// The shop the serial tests work in: one warehouse, one operator, a phone and a supplier.
inline const stock::SerialActor kSerialActor{7, QStringLiteral("MARIO"), 1, QStringLiteral("NEGOZIO")};

// Adds an item flagged for serials; returns it as a load or a sale sees it.
inline stock::SerialItem addSerialItem(core::Db& db, const QString& code, const QString& description)
{
    db.exec(QStringLiteral("INSERT INTO articoli (CodArticolo, Descrizione, Barcode, Seriale) "
                           "VALUES (:C, :D, '8000000000001', 1)"),
            {{QStringLiteral("C"), code}, {QStringLiteral("D"), description}});
    return {int(db.lastInsertId()), code, description, QStringLiteral("8000000000001")};
}

inline int countOf(core::Db& db, const QString& sql, const core::Params& params = {})
{
    return db.scalar(sql, params).toInt();
}

} // namespace carvendo::testing
