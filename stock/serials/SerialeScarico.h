#pragma once

#include "stock/serials/SerialContext.h"
#include "stock/serials/SerialSales.h"

#include <QObject>
#include <QStringList>

#include <array>

namespace carvendo::core {
class Db;
class Dialogs;
} // namespace carvendo::core

namespace carvendo::stock {

// The logic of TSerialeScarico: up to ten serials of one item sold in one document row. On confirm
// every serial typed is checked before any is sold; then all are sold in one transaction.
class SerialeScarico : public QObject
{
    Q_OBJECT
public:
    static constexpr int kFields = 10;

    SerialeScarico(core::Db& db, core::Dialogs& dialogs, int itemId, SerialDocument document,
                   SerialActor actor, QObject* parent = nullptr);

    void setSerial(int field, const QString& text);
    QString serial(int field) const { return m_fields.at(field); }
    // Enter in a field moves to the next one; the last field stays.
    static int nextField(int field) { return field + 1 < kFields ? field + 1 : field; }

    // False, with the reason told and failedField() set, when a serial is missing, not of this item,
    // not sellable or typed twice: then nothing is sold.
    bool confirm();
    int failedField() const { return m_failedField; }
    const QStringList& sold() const { return m_sold; } // after confirm, in field order

private:
    bool refuse(int field, const QString& text, const QString& title = {});

    core::Db& m_db;
    core::Dialogs& m_dialogs;
    int m_itemId;
    SerialDocument m_document;
    SerialActor m_actor;
    std::array<QString, kFields> m_fields;
    int m_failedField = -1;
    QStringList m_sold;
};

} // namespace carvendo::stock
