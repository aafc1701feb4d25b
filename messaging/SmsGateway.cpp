#include "messaging/SmsGateway.h"

#include "messaging/CurlTransfer.h"
#include "messaging/MessagingError.h"

#include <QUrl>

namespace carvendo::messaging {

namespace {

// The gateway answers a line or two; anything longer is not read further.
const qsizetype AnswerLimit = 4096;

size_t collectAnswer(char* data, size_t size, size_t count, void* user)
{
    auto& answer = *static_cast<QByteArray*>(user);
    const size_t bytes = size * count;
    answer.append(
        data, qsizetype(std::min<size_t>(bytes, size_t(qMax<qsizetype>(0, AnswerLimit - answer.size())))));
    return bytes;
}

QString firstLine(const QByteArray& answer)
{
    return QString::fromUtf8(answer).section(u'\n', 0, 0).trimmed();
}

QString unreachable(CURLcode code, const QString& gateway, const QString& curlText)
{
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
        return QStringLiteral("Impossibile contattare il servizio Sms (%1)").arg(gateway);
    case CURLE_OPERATION_TIMEDOUT:
        return QStringLiteral("Il servizio Sms non risponde (%1)").arg(gateway);
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT:
        return QStringLiteral("Indirizzo del servizio Sms non valido: %1").arg(gateway);
    default:
        return QStringLiteral("Invio dell'sms non riuscito: %1").arg(curlText);
    }
}

} // namespace

QByteArray SmsGateway::formFields(const SmsAccount& account, const QString& number, const QString& text)
{
    const std::pair<const char*, QString> fields[] = {{"utente", account.username.trimmed()},
                                                      {"password", account.password},
                                                      {"mittente", account.sender.trimmed()},
                                                      {"destinatario", number},
                                                      {"testo", text},
                                                      {"qualita", account.quality.trimmed()}};
    QByteArray form;
    for (const auto& [name, value] : fields) {
        if (!form.isEmpty())
            form += '&';
        form += QByteArray(name) + '=' + QUrl::toPercentEncoding(value);
    }
    return form;
}

QString SmsGateway::send(const QString& number, const QString& text) const
{
    const QByteArray url = m_account.gateway.trimmed().toUtf8();
    const QByteArray form = formFields(m_account, number, text);
    QByteArray answer;
    CurlTransfer transfer;
    transfer.set(CURLOPT_URL, url.constData());
    // The address is a setting anybody may type: only the web is asked, never a file or another protocol.
    transfer.set(CURLOPT_PROTOCOLS_STR, "http,https");
    transfer.set(CURLOPT_POSTFIELDS, form.constData());
    transfer.set(CURLOPT_POSTFIELDSIZE, long(form.size()));
    transfer.set(CURLOPT_HTTPHEADER,
                 transfer.list({"Content-Type: application/x-www-form-urlencoded; charset=UTF-8"}));
    transfer.set(CURLOPT_WRITEFUNCTION, &collectAnswer);
    transfer.set(CURLOPT_WRITEDATA, &answer);
    transfer.set(CURLOPT_CONNECTTIMEOUT_MS, 10000L);
    transfer.set(CURLOPT_TIMEOUT_MS, 30000L);

    const CURLcode code = transfer.perform();
    if (code != CURLE_OK)
        throw MessagingError(unreachable(code, m_account.gateway.trimmed(), transfer.errorText(code)));
    long status = 0;
    curl_easy_getinfo(transfer.handle(), CURLINFO_RESPONSE_CODE, &status);
    const QString reply = firstLine(answer);
    if (status < 200 || status > 299)
        throw MessagingError(QStringLiteral("Il servizio Sms ha risposto con un errore (HTTP %1)%2")
                                 .arg(status)
                                 .arg(reply.isEmpty() ? QString() : QStringLiteral(": ") + reply));
    if (reply != u"OK" && !reply.startsWith(QStringLiteral("OK ")))
        throw MessagingError(QStringLiteral("Il servizio Sms ha rifiutato il messaggio: %1")
                                 .arg(reply.isEmpty() ? QStringLiteral("nessuna risposta") : reply));
    return reply;
}

} // namespace carvendo::messaging
