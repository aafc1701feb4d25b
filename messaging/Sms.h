#pragma once

#include "core/LongJob.h"
#include "core/RecordValues.h"

#include <QString>
#include <QVariant>

namespace carvendo::core {
class Db;
class Dialogs;
} // namespace carvendo::core

namespace carvendo::messaging {

// The logic of TSms ("Impostazioni Sms"): the gateway account and the texts of the messages.
// "Salva" writes what was changed; the account check asks the gateway with the account as typed,
// before it is saved.
class Sms
{
public:
    Sms(core::Db& company, core::Dialogs& dialogs, core::JobRunner runner = core::runHere);

    void open();

    const core::RecordValues& account() const { return m_account; }
    const core::RecordValues& texts() const { return m_texts; }
    void setAccountValue(const QString& column, const QVariant& value) { m_account.set(column, value); }
    void setTextValue(const QString& column, const QVariant& value) { m_texts.set(column, value); }

    // "Salva": both rows in one transaction (the window closes after).
    void save();
    // The account check: true, after saying so, when the gateway took the account. An account
    // that cannot send gets the warning; a gateway that cannot be reached or refuses is thrown.
    bool checkAccount();

private:
    core::Db& m_db;
    core::Dialogs& m_dialogs;
    core::JobRunner m_runner;
    core::RecordValues m_account;
    core::RecordValues m_texts;
};

} // namespace carvendo::messaging
