#include "messaging/MailForm.h"

#include "core/Dialogs.h"
#include "messaging/MessagingError.h"
#include "messaging/SmtpSender.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QThread>

namespace carvendo::messaging {

MailForm::MailForm(core::Db& company, core::Dialogs& dialogs, core::JobRunner runner, QObject* parent)
    : QObject(parent), m_db(company), m_dialogs(dialogs), m_runner(std::move(runner))
{
}

void MailForm::open(const MailMessage& filled)
{
    m_message = filled;
    if (m_message.from.isEmpty())
        m_message.from = loadMailAccount(m_db).mittente;
    emit messageChanged();
}

void MailForm::setBody(const QString& text)
{
    m_message.body = text.split(u'\n');
}

void MailForm::setAttachment(const QString& path)
{
    m_message.attachment = path.trimmed();
}

void MailForm::chooseAttachment()
{
    const auto path =
        m_dialogs.chooseFile(QStringLiteral("Allegati da inviare:"), QStringLiteral("Tutti i file (*)"),
                             core::FileMode::Open, m_message.attachment);
    if (!path)
        return;
    setAttachment(*path);
    emit messageChanged();
}

bool MailForm::send()
{
    if (m_message.from.trimmed().isEmpty() || MailMessage::addresses(m_message.to).isEmpty())
        throw MessagingError(QStringLiteral("Indicare il mittente e il destinatario dell'e-mail"),
                             core::Error::Kind::Refusal);
    const MailAccount account = loadMailAccount(m_db);
    if (account.hostname.trimmed().isEmpty())
        throw MessagingError(QStringLiteral("Indicare il server di posta nelle impostazioni (pagina e-mail)"),
                             core::Error::Kind::Refusal);
    if (!m_message.attachment.isEmpty() && !QFileInfo(m_message.attachment).isFile())
        throw MessagingError(QStringLiteral("Il file da allegare non esiste: %1").arg(m_message.attachment),
                             core::Error::Kind::Refusal);

    m_status.clear();
    emit statusChanged();
    // The client reports from the job's thread: each line reaches the list on the window thread.
    const SmtpSender::StatusSink status = [this](const QString& line) {
        if (QThread::currentThread() == thread())
            addStatus(line);
        else
            QMetaObject::invokeMethod(
                this, [this, line] { addStatus(line); }, Qt::QueuedConnection);
    };
    const MailMessage message = m_message;
    QString failure;
    try {
        m_runner(QStringLiteral("Invio e-mail in corso..."),
                 [&](const std::function<void(int)>&) { SmtpSender(account).send(message, status); });
    } catch (const MessagingError& error) {
        failure = error.message();
    }
    // Lines still on their way from the job come before the outcome.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    if (failure.isEmpty())
        return true;
    addStatus(QStringLiteral("ERROR: ") + failure);
    return false;
}

void MailForm::addStatus(const QString& line)
{
    m_status.prepend(line);
    emit statusChanged();
}

} // namespace carvendo::messaging
