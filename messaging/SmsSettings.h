#pragma once

#include "core/RecordValues.h"

#include <QString>

namespace carvendo::core {
class Db;
class Dialogs;
} // namespace carvendo::core

namespace carvendo::messaging {

// The shop's account at the SMS gateway (the single `sms_configurazione` row).
struct SmsAccount
{
    QString username;
    QString password;
    QString quality;
    QString sender;  // the name shown on the phone
    QString gateway; // the gateway's address

    // Nothing can be sent without user, password and where to send it.
    bool isComplete() const
    {
        return !username.trimmed().isEmpty() && !password.isEmpty() && !gateway.trimmed().isEmpty();
    }
};

// The SMS settings: the account and the texts of the messages (`sms_configurazione` and
// `sms_corpo`, one row each, with key 1), read and written here only.
class SmsSettings
{
public:
    explicit SmsSettings(core::Db& company) : m_db(company) {}

    // The columns the settings window edits, table by table.
    static core::RecordValues accountRecord();
    static core::RecordValues textsRecord();
    static SmsAccount accountOf(const core::RecordValues& record);

    // Both rows; a row not written yet reads empty.
    void read(core::RecordValues& account, core::RecordValues& texts);
    // In one transaction, the columns changed since they were read: what another workstation
    // saved meanwhile in other columns stays. The records are then saved.
    void write(core::RecordValues& account, core::RecordValues& texts);

private:
    core::Db& m_db;
};

// With an account that cannot send: a beep and "Attenzione! Controllare i dati dell'account".
// True when the account may be used.
bool checkSmsAccount(const SmsAccount& account, core::Dialogs& dialogs);

} // namespace carvendo::messaging
