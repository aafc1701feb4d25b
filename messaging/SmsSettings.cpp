#include "messaging/SmsSettings.h"

#include "core/Db.h"
#include "core/Dialogs.h"

namespace carvendo::messaging {

namespace {

const QString AccountTable = QStringLiteral("sms_configurazione");
const QString TextsTable = QStringLiteral("sms_corpo");
const int SettingsRow = 1;

void readRow(core::Db& db, const QString& table, core::RecordValues& record)
{
    // Table and columns come from the fixed lists of this file.
    const core::Rows rows = db.query(QStringLiteral("SELECT `%1` FROM `%2` WHERE id = :ID")
                                         .arg(record.names().join(QStringLiteral("`, `")), table),
                                     {{QStringLiteral("ID"), SettingsRow}});
    if (rows.isEmpty())
        record.clear();
    else
        record.load(rows.first());
}

void writeRow(core::Db& db, const QString& table, const core::RecordValues& record)
{
    // The row is made once, by whichever workstation saves first; a second one finds it there.
    db.exec(QStringLiteral("INSERT IGNORE INTO `%1` (id) VALUES (:ID)").arg(table),
            {{QStringLiteral("ID"), SettingsRow}});
    core::writeChangedColumns(db, table, QStringLiteral("id"), SettingsRow, record);
}

} // namespace

core::RecordValues SmsSettings::accountRecord()
{
    return core::RecordValues({{QStringLiteral("Username"), core::ColumnKind::Text, 255},
                               {QStringLiteral("Password"), core::ColumnKind::Text, 255},
                               {QStringLiteral("QualitaSms"), core::ColumnKind::Text, 255},
                               {QStringLiteral("Mittente"), core::ColumnKind::Text, 255},
                               {QStringLiteral("Gateway"), core::ColumnKind::Text, 255}});
}

core::RecordValues SmsSettings::textsRecord()
{
    return core::RecordValues({{QStringLiteral("TestoCat"), core::ColumnKind::Text, 255},
                               {QStringLiteral("TestoPromo"), core::ColumnKind::Text, 255},
                               {QStringLiteral("TestoNovita"), core::ColumnKind::Text, 255},
                               {QStringLiteral("TestoAnnuncio"), core::ColumnKind::Text, 255},
                               {QStringLiteral("idScadenza"), core::ColumnKind::Integer}});
}

SmsAccount SmsSettings::accountOf(const core::RecordValues& record)
{
    return {record.value(QStringLiteral("Username")).toString(),
            record.value(QStringLiteral("Password")).toString(),
            record.value(QStringLiteral("QualitaSms")).toString(),
            record.value(QStringLiteral("Mittente")).toString(),
            record.value(QStringLiteral("Gateway")).toString().trimmed()};
}

void SmsSettings::read(core::RecordValues& account, core::RecordValues& texts)
{
    readRow(m_db, AccountTable, account);
    readRow(m_db, TextsTable, texts);
}

void SmsSettings::write(core::RecordValues& account, core::RecordValues& texts)
{
    core::Transaction transaction(m_db);
    writeRow(m_db, AccountTable, account);
    writeRow(m_db, TextsTable, texts);
    transaction.commit();
    account.markSaved();
    texts.markSaved();
}

bool checkSmsAccount(const SmsAccount& account, core::Dialogs& dialogs)
{
    if (account.isComplete())
        return true;
    dialogs.beep();
    dialogs.warning(QStringLiteral("Attenzione! Controllare i dati dell'account"));
    return false;
}

} // namespace carvendo::messaging
