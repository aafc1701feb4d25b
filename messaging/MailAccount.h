#pragma once

#include "foundation/MailSettings.h"

#include <QString>

namespace carvendo::messaging {

// The shop's outgoing e-mail account is the single `mail` row the settings window keeps: read
// through the settings, so the table is read in one place.
using MailAccount = foundation::MailAccount;

inline MailAccount loadMailAccount(core::Db& company)
{
    return foundation::MailSettings(company).load();
}

// Where the sender connects: port 465 speaks TLS from the first byte, any other port starts in
// clear and turns to TLS when the server offers it.
inline QString smtpAddress(const MailAccount& account)
{
    return QStringLiteral("%1://%2:%3")
        .arg(account.port == 465 ? QStringLiteral("smtps") : QStringLiteral("smtp"),
             account.hostname.trimmed())
        .arg(account.port);
}

} // namespace carvendo::messaging
