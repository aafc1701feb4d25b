#include "stock/serials/SerialeScarico.h"

#include "stock/serials/SerialRefusal.h"
#include "stock/serials/SerialStock.h"

#include "core/BoundList.h"
#include "core/Db.h"
#include "core/Dialogs.h"

#include <QSet>

namespace carvendo::stock {

SerialeScarico::SerialeScarico(core::Db& db, core::Dialogs& dialogs, int itemId, SerialDocument document,
                               SerialActor actor, QObject* parent)
    : QObject(parent), m_db(db), m_dialogs(dialogs), m_itemId(itemId), m_document(std::move(document)),
      m_actor(std::move(actor))
{
}

void SerialeScarico::setSerial(int field, const QString& text)
{
    m_fields.at(field) = text.trimmed();
}

bool SerialeScarico::refuse(int field, const QString& text, const QString& title)
{
    m_failedField = field;
    m_dialogs.warning(text, title);
    return false;
}

bool SerialeScarico::confirm()
{
    m_failedField = -1;
    m_sold.clear();
    QList<int> typedFields;
    QStringList typed;
    QSet<QString> seen;
    for (int field = 0; field < kFields; ++field) {
        const QString& serial = m_fields.at(field);
        if (serial.isEmpty())
            continue;
        if (seen.contains(serial.toUpper())) // the server compares serials ignoring case
            return refuse(
                field, QStringLiteral("Attenzione! Il seriale %1 è stato inserito due volte.").arg(serial));
        seen.insert(serial.toUpper());
        typedFields.append(field);
        typed.append(serial);
    }
    if (typed.isEmpty())
        return refuse(0, QStringLiteral("Inserire un seriale da cercare"));

    // All are looked up before any is sold: one serial that cannot be sold stops the row.
    QSet<QString> sellable;
    QVariantList values(typed.cbegin(), typed.cend());
    core::forEachSlice(QStringLiteral("S"), values, [&](const core::BoundList& slice) {
        core::Params params = slice.params;
        params.insert(QStringLiteral("IDARTICOLO"), m_itemId);
        const core::Rows rows =
            m_db.query(QStringLiteral("SELECT Seriale FROM seriali WHERE idArticolo = :IDARTICOLO AND ") +
                           SerialStock::sellableCondition() +
                           QStringLiteral(" AND Seriale IN (%1)").arg(slice.placeholders),
                       params);
        for (const core::Row& row : rows)
            sellable.insert(row.at(0).toString().toUpper());
    });
    for (int i = 0; i < typed.size(); ++i)
        if (!sellable.contains(typed.at(i).toUpper()))
            return refuse(typedFields.at(i), QStringLiteral("Seriale non trovato."), typed.at(i));

    try {
        core::Transaction transaction(m_db);
        SerialSales sales(m_db, m_actor);
        for (int i = 0; i < typed.size(); ++i) {
            m_failedField = typedFields.at(i);
            sales.sell(m_itemId, typed.at(i), m_document);
        }
        transaction.commit();
    } catch (const core::Error& error) {
        // Sold on another workstation since the check: none of this row's serials is sold.
        if (!isOwnRefusal(m_db, error))
            throw;
        m_dialogs.warning(error.message(), typed.at(typedFields.indexOf(m_failedField)));
        return false;
    }
    m_failedField = -1;
    m_sold = typed;
    return true;
}

} // namespace carvendo::stock
