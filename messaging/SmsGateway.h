#pragma once

#include "messaging/SmsSettings.h"

#include <QByteArray>
#include <QString>

namespace carvendo::messaging {

// Hands one SMS to the shop's SMS gateway over HTTPS (libcurl).
//
// The exchange with the gateway:
//   POST <Gateway address>            (https://...; plain http:// only suits a gateway on the shop's own
//   network) Content-Type: application/x-www-form-urlencoded, UTF-8, the fields in this order:
//     utente        the account's user            (Username)
//     password      the account's password        (Password)
//     mittente      the sender shown on the phone (Mittente)
//     destinatario  the number, "+39" and the customer's mobile
//     testo         the message
//     qualita       the quality of the message    (QualitaSms)
//   The answer is plain text. A first line starting with "OK" ("OK 4711": the message's number at
//   the gateway) means the message was taken; any other answer, or an HTTP status other than 2xx,
//   is a refusal whose first line says why.
//   The number +111111111 with no text is the account check: the gateway checks user and password
//   and sends nothing.
class SmsGateway
{
public:
    static QString testNumber() { return QStringLiteral("+111111111"); }

    explicit SmsGateway(SmsAccount account) : m_account(std::move(account)) {}

    static QByteArray formFields(const SmsAccount& account, const QString& number, const QString& text);

    // Returns the gateway's answer when it took the message; throws MessagingError with the reason
    // in Italian when it could not be reached or refused it. May run off the window thread.
    QString send(const QString& number, const QString& text) const;

private:
    SmsAccount m_account;
};

} // namespace carvendo::messaging
