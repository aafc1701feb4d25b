#pragma once

#include "core/LongJob.h"
#include "messaging/MailMessage.h"

#include <QObject>
#include <QString>
#include <QStringList>

namespace carvendo::core {
class Db;
class Dialogs;
} // namespace carvendo::core

namespace carvendo::messaging {

// The logic of TMailForm ("Invio e-mail"): one message through the shop's account, opened empty or
// filled by the window that sends a document. "Invia" sends it off the window thread, listing what
// the mail client does; a failure leaves the message as typed, with the reason at the top of the
// status list, for the operator to mend and send again.
class MailForm : public QObject
{
    Q_OBJECT

public:
    // The sending goes through the runner: the window puts it on a background job.
    MailForm(core::Db& company, core::Dialogs& dialogs, core::JobRunner runner = core::runHere,
             QObject* parent = nullptr);

    // The sender of the account, then whatever the opener filled in.
    void open(const MailMessage& filled = {});

    const MailMessage& message() const { return m_message; }
    void setSender(const QString& value) { m_message.from = value; }
    void setRecipient(const QString& value) { m_message.to = value; }
    void setCopyRecipient(const QString& value) { m_message.cc = value; }
    void setSubject(const QString& value) { m_message.subject = value; }
    void setBody(const QString& text);
    void setAttachment(const QString& path);
    // "Allegati da inviare:": a file chosen by the operator.
    void chooseAttachment();

    // Newest first.
    const QStringList& statusLines() const { return m_status; }

    // "Invia": true when the server took the message (the window closes). A message without sender
    // or recipient, an account without server, an attachment that is not there are refused
    // (MessagingError, nothing sent); a failure of the server is listed as "ERROR: ..." and false.
    bool send();

signals:
    void messageChanged();
    void statusChanged();

private:
    void addStatus(const QString& line);

    core::Db& m_db;
    core::Dialogs& m_dialogs;
    core::JobRunner m_runner;
    MailMessage m_message;
    QStringList m_status;
};

} // namespace carvendo::messaging
