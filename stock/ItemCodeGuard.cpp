#include "stock/ItemCodeGuard.h"

#include "core/Db.h"

namespace carvendo::stock {

QString ItemCodeGuard::comparable(const QString& code)
{
    qsizetype end = code.size();
    while (end > 0 && code.at(end - 1) == u' ')
        --end;
    return code.left(end).toUpper();
}

bool ItemCodeGuard::taken(Column column, const QString& value, int idArticolo) const
{
    const QString name =
        column == Column::CodArticolo ? QStringLiteral("CodArticolo") : QStringLiteral("BarcodeFull");
    return !m_db.query(QStringLiteral(
                           "SELECT ID FROM articoli WHERE `%1` = :VALORE AND ID <> :IDARTICOLO LIMIT 1")
                           .arg(name),
                       {{QStringLiteral("VALORE"), value}, {QStringLiteral("IDARTICOLO"), idArticolo}})
                .isEmpty();
}

QString ItemCodeGuard::takenMessage(Column column, const QString& value)
{
    const QString what = column == Column::CodArticolo ? QStringLiteral("Codice") : QStringLiteral("Barcode");
    return QStringLiteral("%1 già assegnato ad altro articolo, riprovare")
        .arg(value.isEmpty() ? what : what + u' ' + value);
}

} // namespace carvendo::stock
