#pragma once

#include "core/RecordValues.h"

#include <QSet>
#include <QString>
#include <QVariant>

namespace carvendo::core {
class Db;
class Dialogs;
} // namespace carvendo::core

namespace carvendo::foundation {

// The company's electronic invoice data (`fatturapa_configurazione`, one row): tax regime, REA
// registration, the transmitter, the next transmission number, the stamp duty and the exchange
// system's PEC address the files are sent to. "Salva" writes
// only the columns changed here, so another workstation's change of the others stays; the next
// transmission number only ever moves up, after asking, since numbers already sent are never reused.
class EInvoiceSettings
{
public:
    EInvoiceSettings(core::Db& db, core::Dialogs& dialogs);

    // The columns, as the table spells them.
    static const QStringList& columns();

    // Reads the row. False, after telling why, when the database fails.
    bool load();

    QVariant value(const QString& column) const { return m_record.value(column); }
    const QVariantMap& values() const { return m_record.values(); }
    // Codes are kept in capitals; amounts may be typed with a comma.
    void setValue(const QString& column, const QVariant& value);
    bool isModified() const { return m_record.isModified(); }

    // Checks what was typed and writes it in one transaction. False, after telling why, when
    // nothing was written.
    bool save();

private:
    void check() const;
    void write(bool raiseCounter);

    core::Db& m_db;
    core::Dialogs& m_dialogs;
    core::RecordValues m_record;
    QVariant m_id;
    QSet<QString> m_badAmounts; // amounts typed that are not numbers
};

} // namespace carvendo::foundation
