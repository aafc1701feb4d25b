#pragma once

#include "messaging/MailAccount.h"
#include "messaging/MailMessage.h"

#include <QString>

#include <functional>

namespace carvendo::messaging {

// Sends one message through the shop's SMTP account (libcurl): TLS when the server offers it, the
// account's login when it has one, MIME with the body as UTF-8 text and the attached file. What the
// client is doing is told line by line ("Status: Connesso al server", ...) as it happens.
class SmtpSender
{
public:
    using StatusSink = std::function<void(const QString& line)>;

    explicit SmtpSender(MailAccount account) : m_account(std::move(account)) {}

    // Returns when the server took the message. Throws MessagingError with the reason in Italian
    // when it could not be reached, refused the login, the sender or the recipients, or broke off;
    // the connection is closed either way. May run off the window thread.
    void send(const MailMessage& message, const StatusSink& status) const;

private:
    MailAccount m_account;
};

} // namespace carvendo::messaging
