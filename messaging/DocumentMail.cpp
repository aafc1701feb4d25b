#include "messaging/DocumentMail.h"

#include "messaging/MailAccount.h"

#include <QRegularExpression>

namespace carvendo::messaging {

QStringList DocumentMail::documentLetter()
{
    return {QStringLiteral("Alleghiamo alla presente il documento in oggetto."),
            QStringLiteral("Con l'occasione, porgiamo distinti saluti.")};
}

MailMessage DocumentMail::compose(const MailDocument& document, const QStringList& letter)
{
    const MailAccount account = loadMailAccount(m_db);
    static const QRegularExpression lineBreak(QStringLiteral("\r?\n"));
    MailMessage message;
    message.from = account.mittente;
    message.to = document.recipient.trimmed();
    message.subject =
        QStringLiteral("%1 Nr. %2 del %3")
            .arg(document.word, document.number, document.date.toString(QStringLiteral("dd/MM/yyyy")));
    message.body << QStringLiteral("Spett.le ") + document.name << QString() << QString() << letter
                 << QString() << QString() << QString() << QString() << account.firma.split(lineBreak);
    message.attachment = document.attachment;
    return message;
}

core::NavigationResult DocumentMail::open(const MailDocument& document, const QString& caller,
                                          const QStringList& letter)
{
    return m_navigator.open(QStringLiteral("TMailForm"), {}, caller, compose(document, letter).toValues());
}

} // namespace carvendo::messaging
