#pragma once

#include "core/LongJob.h"

#include <QString>

namespace carvendo::core {
class Db;
class Dialogs;
} // namespace carvendo::core

namespace carvendo::messaging {

// The SMS that tells a repair customer the ticket is done: the repair text of the settings, from
// the account's sender, to the customer's mobile in international form.
class RepairSms
{
public:
    // The gateway is asked through the runner: the window puts it on a background job.
    RepairSms(core::Db& company, core::Dialogs& dialogs, core::JobRunner runner = core::runHere)
        : m_db(company), m_dialogs(dialogs), m_runner(std::move(runner))
    {
    }

    // False, after a beep and a warning, when the account cannot send or the customer has no
    // mobile number; a gateway that cannot be reached or refuses is thrown as MessagingError.
    bool send(const QString& mobile);

    // "333 123-4567", "+39 333 1234567" and "0039 3331234567" all give "+393331234567"; a number
    // already with another country's prefix keeps it. Empty when nothing but separators was typed.
    static QString internationalNumber(const QString& mobile);

private:
    core::Db& m_db;
    core::Dialogs& m_dialogs;
    core::JobRunner m_runner;
};

} // namespace carvendo::messaging
