#include "messaging/SmtpSender.h"

#include "messaging/CurlTransfer.h"
#include "messaging/MessagingError.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QUuid>

#include <algorithm>

namespace carvendo::messaging {

namespace {

// A header value on one line: a line break typed into a field never starts a header of its own.
QString oneLine(const QString& text)
{
    QString line = text;
    line.replace(u'\r', u' ').replace(u'\n', u' ');
    return line.trimmed();
}

// Printable ASCII goes as it is; anything else as RFC 2047 encoded words of UTF-8, each short
// enough for a header line and never splitting a character.
QByteArray headerText(const QString& text)
{
    const QString line = oneLine(text);
    if (std::all_of(line.begin(), line.end(),
                    [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7f; }))
        return line.toLatin1();
    QByteArray encoded;
    QByteArray chunk;
    const auto flush = [&] {
        if (chunk.isEmpty())
            return;
        if (!encoded.isEmpty())
            encoded += ' ';
        encoded += "=?UTF-8?B?" + chunk.toBase64() + "?=";
        chunk.clear();
    };
    for (const char32_t codePoint : line.toUcs4()) {
        const QByteArray bytes = QString::fromUcs4(&codePoint, 1).toUtf8();
        if (chunk.size() + bytes.size() > 45)
            flush();
        chunk += bytes;
    }
    flush();
    return encoded;
}

QByteArray messageId(const QString& from)
{
    const qsizetype at = from.lastIndexOf(u'@');
    const QString domain = at >= 0 ? from.mid(at + 1).trimmed() : QStringLiteral("localhost");
    return "<" + QUuid::createUuid().toString(QUuid::WithoutBraces).toLatin1() + "@" + domain.toUtf8() + ">";
}

QByteArray envelopeAddress(const QString& address)
{
    return "<" + oneLine(address).toUtf8() + ">";
}

// What the client says to the server, turned into what the operator reads, and the server's last
// answer, which tells why a command was refused.
struct Conversation
{
    const SmtpSender::StatusSink& status;
    QByteArray lastReply;
    bool greeted = false;
    bool quitting = false;
};

int onTraffic(CURL*, curl_infotype type, char* data, size_t size, void* user)
{
    auto& conversation = *static_cast<Conversation*>(user);
    const QByteArray text = QByteArray(data, qsizetype(size)).trimmed();
    if (type == CURLINFO_HEADER_IN) {
        if (!conversation.quitting) // the goodbye after a refusal is not the reason
            conversation.lastReply = text.mid(text.lastIndexOf('\n') + 1).trimmed();
        return 0;
    }
    if (type != CURLINFO_HEADER_OUT)
        return 0;
    const qsizetype space = text.indexOf(' ');
    const QByteArray command = (space < 0 ? text : text.left(space)).toUpper();
    QString status;
    if ((command == "EHLO" || command == "HELO") && !conversation.greeted) {
        conversation.greeted = true;
        status = QStringLiteral("Connesso al server");
    } else if (command == "STARTTLS") {
        status = QStringLiteral("Avvio della connessione protetta");
    } else if (command == "AUTH") {
        status = QStringLiteral("Autenticazione");
    } else if (command == "MAIL") {
        status = QStringLiteral("Invio del messaggio");
    } else if (command == "QUIT") {
        conversation.quitting = true;
        status = QStringLiteral("Disconnessione");
    }
    if (!status.isEmpty())
        conversation.status(QStringLiteral("Status: ") + status);
    return 0;
}

bool isRefusal(const QByteArray& reply)
{
    return !reply.isEmpty() && (reply[0] == '4' || reply[0] == '5');
}

QString failure(CURLcode code, const MailAccount& account, const Conversation& conversation,
                const QString& curlText)
{
    const QString server = QStringLiteral("%1:%2").arg(account.hostname.trimmed()).arg(account.port);
    const QString reply = QString::fromUtf8(conversation.lastReply);
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
        return QStringLiteral("Server di posta %1 non trovato").arg(account.hostname.trimmed());
    case CURLE_COULDNT_CONNECT:
        return QStringLiteral("Impossibile connettersi al server di posta %1").arg(server);
    case CURLE_OPERATION_TIMEDOUT:
        return QStringLiteral("Il server di posta %1 non risponde").arg(server);
    case CURLE_LOGIN_DENIED:
        return QStringLiteral("Nome utente o password non accettati dal server di posta (%1)").arg(reply);
    case CURLE_USE_SSL_FAILED:
    case CURLE_SSL_CONNECT_ERROR:
        return QStringLiteral("Connessione protetta con il server di posta non riuscita");
    case CURLE_PEER_FAILED_VERIFICATION:
        return QStringLiteral("Il certificato del server di posta %1 non è valido").arg(server);
    case CURLE_READ_ERROR:
        return QStringLiteral("Impossibile leggere l'allegato");
    default:
        break;
    }
    // The sender, a recipient or the message itself refused: the server's answer says why.
    if (isRefusal(conversation.lastReply))
        return QStringLiteral("Il server di posta ha rifiutato il messaggio (%1)").arg(reply);
    switch (code) {
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_WEIRD_SERVER_REPLY:
        return QStringLiteral("La connessione con il server di posta si è interrotta");
    default:
        return QStringLiteral("Invio non riuscito: %1").arg(curlText);
    }
}

} // namespace

void SmtpSender::send(const MailMessage& message, const StatusSink& status) const
{
    // The conversation outlives the transfer: closing the connection still reports to it.
    Conversation conversation{status, {}, false, false};
    CurlTransfer transfer;
    const QByteArray url = smtpAddress(m_account).toUtf8();
    transfer.set(CURLOPT_URL, url.constData());
    // Plain SMTP turns to TLS whenever the server offers STARTTLS; a server that does not is still used.
    transfer.set(CURLOPT_USE_SSL, long(CURLUSESSL_TRY));
    const QByteArray username = m_account.username.trimmed().toUtf8();
    const QByteArray password = m_account.password.toUtf8();
    if (!username.isEmpty()) {
        transfer.set(CURLOPT_USERNAME, username.constData());
        transfer.set(CURLOPT_PASSWORD, password.constData());
    }
    // A TLS handshake with a distant server takes more than a second; a server that stops answering
    // is given up after half a minute of silence rather than holding the message for ever.
    transfer.set(CURLOPT_CONNECTTIMEOUT_MS, 10000L);
    transfer.set(CURLOPT_LOW_SPEED_LIMIT, 1L);
    transfer.set(CURLOPT_LOW_SPEED_TIME, 30L);
    // The connection is closed (QUIT) before perform returns, not left open for a next message.
    transfer.set(CURLOPT_FORBID_REUSE, 1L);
    transfer.set(CURLOPT_VERBOSE, 1L);
    transfer.set(CURLOPT_DEBUGFUNCTION, &onTraffic);
    transfer.set(CURLOPT_DEBUGDATA, &conversation);

    const QByteArray from = envelopeAddress(message.from);
    transfer.set(CURLOPT_MAIL_FROM, from.constData());
    QList<QByteArray> recipients;
    for (const QString& address : message.recipients())
        recipients << envelopeAddress(address);
    transfer.set(CURLOPT_MAIL_RCPT, transfer.list(recipients));

    QList<QByteArray> headers{
        "From: " + oneLine(message.from).toUtf8(),
        "To: " + oneLine(MailMessage::addresses(message.to).join(QStringLiteral(", "))).toUtf8(),
        "Subject: " + headerText(message.subject),
        "Date: " + QDateTime::currentDateTime().toString(Qt::RFC2822Date).toLatin1(),
        "Message-ID: " + messageId(message.from)};
    if (const QStringList copies = MailMessage::addresses(message.cc); !copies.isEmpty())
        headers.insert(2, "Cc: " + oneLine(copies.join(QStringLiteral(", "))).toUtf8());
    transfer.set(CURLOPT_HTTPHEADER, transfer.list(headers));

    curl_mime* mime = transfer.mime();
    const QByteArray body = message.bodyText();
    curl_mimepart* text = curl_mime_addpart(mime);
    curl_mime_data(text, body.constData(), size_t(body.size()));
    curl_mime_type(text, "text/plain; charset=UTF-8");
    curl_mime_encoder(text, "quoted-printable");
    if (!message.attachment.isEmpty()) {
        const QFileInfo file(message.attachment);
        const QByteArray path = QFile::encodeName(file.absoluteFilePath());
        const QByteArray name = file.fileName().toUtf8();
        const QByteArray type = QMimeDatabase().mimeTypeForFile(file).name().toLatin1();
        curl_mimepart* attached = curl_mime_addpart(mime);
        curl_mime_filedata(attached, path.constData());
        curl_mime_filename(attached, name.constData());
        curl_mime_type(attached, type.constData());
        curl_mime_encoder(attached, "base64");
    }
    transfer.set(CURLOPT_MIMEPOST, mime);

    status(
        QStringLiteral("Status: Connessione a %1:%2").arg(m_account.hostname.trimmed()).arg(m_account.port));
    const CURLcode code = transfer.perform();
    if (code != CURLE_OK)
        throw MessagingError(failure(code, m_account, conversation, transfer.errorText(code)));
    status(QStringLiteral("Status: Messaggio inviato"));
}

} // namespace carvendo::messaging
