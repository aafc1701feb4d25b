#include "messaging/MailForm.h"

#include "core/LocalServer.h"
#include "messaging/DocumentMail.h"
#include "messaging/MessagingError.h"
#include "tests/support/RecordingNavigator.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

// A local SMTP server keeping what it receives in a mail folder. It says when it listens, so the
// test waits for that line rather than for time to pass.
class SmtpSink
{
public:
    SmtpSink() : m_port(core::LocalServer::findFreePort())
    {
        m_server.setProcessChannelMode(QProcess::MergedChannels);
        m_server.start(QStringLiteral("/usr/bin/python3"),
                       {QStringLiteral("-m"), QStringLiteral("aiosmtpd"), QStringLiteral("-n"),
                        QStringLiteral("-d"), QStringLiteral("-l"),
                        QStringLiteral("127.0.0.1:%1").arg(m_port), QStringLiteral("-c"),
                        QStringLiteral("aiosmtpd.handlers.Mailbox"), mailFolder()});
        QByteArray said;
        while (!said.contains("Server is listening") && m_server.waitForReadyRead(30000))
            said += m_server.readAll();
        EXPECT_TRUE(said.contains("Server is listening")) << said.toStdString();
    }
    ~SmtpSink()
    {
        m_server.kill();
        m_server.waitForFinished();
    }

    int port() const { return m_port; }

    // The messages received, as Python's own mail parser reads them.
    QJsonArray messages() const
    {
        static const char* reader = R"(
import email, email.policy, json, pathlib, sys, base64
out = []
for path in sorted(pathlib.Path(sys.argv[1], 'new').iterdir()):
    m = email.message_from_bytes(path.read_bytes(), policy=email.policy.default)
    out.append({'from': m['From'], 'to': m['To'], 'cc': m['Cc'], 'rcpt': m['X-RcptTo'],
                'subject': str(m['Subject']), 'date': m['Date'], 'id': m['Message-ID'],
                'body': m.get_body(('plain',)).get_content(),
                'attachments': [{'name': a.get_filename(), 'type': a.get_content_type(),
                                 'data': base64.b64encode(a.get_content()).decode()}
                                for a in m.iter_attachments()]})
print(json.dumps(out))
)";
        QProcess python;
        python.start(QStringLiteral("/usr/bin/python3"),
                     {QStringLiteral("-c"), QString::fromLatin1(reader), mailFolder()});
        python.waitForFinished();
        EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
        return QJsonDocument::fromJson(python.readAllStandardOutput()).array();
    }

private:
    // The sink makes the mail folder itself (an existing folder without its subfolders is refused).
    QString mailFolder() const { return m_folder.filePath(QStringLiteral("posta")); }

    QTemporaryDir m_folder;
    int m_port;
    QProcess m_server;
};

class MailFormTest : public ct::CompanySuite<MailFormTest>
{
protected:
    void useServer(int port)
    {
        db().exec(
            QStringLiteral("UPDATE mail SET hostname = '127.0.0.1', port = :PORT, username = '', "
                           "mittente = 'negozio@telefoniarossi.it', firma = 'Telefonia Rossi\nVia Roma 1'"),
            {{QStringLiteral("PORT"), port}});
    }

    ct::ScriptedDialogs m_dialogs;
    QTemporaryDir m_dir;
};

TEST_F(MailFormTest, ADocumentGoesOutWithItsAttachment)
{
    SmtpSink sink;
    useServer(sink.port());
    const QString pdf = m_dir.filePath(QStringLiteral("Fattura_Nr.12.pdf"));
    const QByteArray bytes("%PDF-1.4\r\n\0\x01\xff binario\n", 22);
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    ct::RecordingNavigator navigator;
    messaging::DocumentMail(db(), navigator)
        .open({QStringLiteral("Fattura"), QStringLiteral("12"), QDate(2026, 12, 5),
               QStringLiteral("caffe@esempio.it"), QStringLiteral("Caffè Bianchi"), pdf},
              QStringLiteral("FatturaImmediata"));
    messaging::MailForm form(db(), m_dialogs);
    form.open(messaging::MailMessage::fromValues(navigator.lastRequest(QStringLiteral("TMailForm")).values));
    form.setCopyRecipient(QStringLiteral("amministrazione@esempio.it; titolare@esempio.it"));
    form.setSubject(form.message().subject + QStringLiteral(" – è pronta"));
    ASSERT_TRUE(form.send()) << form.statusLines().join(u'\n').toStdString();

    EXPECT_EQ(form.statusLines().first(), QStringLiteral("Status: Messaggio inviato"));
    EXPECT_EQ(form.statusLines().last(),
              QStringLiteral("Status: Connessione a 127.0.0.1:%1").arg(sink.port()));
    EXPECT_TRUE(form.statusLines().contains(QStringLiteral("Status: Invio del messaggio")));
    const QJsonArray messages = sink.messages();
    ASSERT_EQ(messages.size(), 1);
    const QJsonObject mail = messages[0].toObject();
    EXPECT_EQ(mail[u"from"].toString(), QStringLiteral("negozio@telefoniarossi.it"));
    EXPECT_EQ(mail[u"to"].toString(), QStringLiteral("caffe@esempio.it"));
    EXPECT_EQ(mail[u"cc"].toString(), QStringLiteral("amministrazione@esempio.it, titolare@esempio.it"));
    EXPECT_EQ(mail[u"rcpt"].toString(),
              QStringLiteral("caffe@esempio.it, amministrazione@esempio.it, titolare@esempio.it"));
    EXPECT_EQ(mail[u"subject"].toString(), QStringLiteral("Fattura Nr. 12 del 05/12/2026 – è pronta"));
    EXPECT_FALSE(mail[u"date"].toString().isEmpty());
    EXPECT_TRUE(mail[u"id"].toString().endsWith(QStringLiteral("@telefoniarossi.it>")));
    EXPECT_EQ(
        mail[u"body"].toString().replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
        QStringLiteral("Spett.le Caffè Bianchi\n\n\nAlleghiamo alla presente il documento in oggetto.\n"
                       "Con l'occasione, porgiamo distinti saluti.\n\n\n\n\nTelefonia Rossi\nVia Roma 1\n"));
    const QJsonArray attachments = mail[u"attachments"].toArray();
    ASSERT_EQ(attachments.size(), 1);
    EXPECT_EQ(attachments[0][u"name"].toString(), QStringLiteral("Fattura_Nr.12.pdf"));
    EXPECT_EQ(attachments[0][u"type"].toString(), QStringLiteral("application/pdf"));
    EXPECT_EQ(QByteArray::fromBase64(attachments[0][u"data"].toString().toLatin1()), bytes);
}

TEST_F(MailFormTest, AServerThatCannotBeReachedLeavesTheMessageAsTyped)
{
    const int closedPort = core::LocalServer::findFreePort();
    useServer(closedPort);
    messaging::MailForm form(db(), m_dialogs);
    form.open();
    form.setRecipient(QStringLiteral("cliente@esempio.it"));
    form.setSubject(QStringLiteral("Preventivo"));
    form.setBody(QStringLiteral("Buongiorno,\nin allegato il preventivo."));
    const messaging::MailMessage typed = form.message();

    EXPECT_FALSE(form.send());
    EXPECT_EQ(
        form.statusLines().first(),
        QStringLiteral("ERROR: Impossibile connettersi al server di posta 127.0.0.1:%1").arg(closedPort));
    EXPECT_EQ(form.message(), typed);
    EXPECT_EQ(typed.from, QStringLiteral("negozio@telefoniarossi.it"));
}

TEST_F(MailFormTest, WhatCannotBeSentIsRefusedBeforeConnecting)
{
    useServer(core::LocalServer::findFreePort());
    messaging::MailForm form(db(), m_dialogs);
    form.open();
    const struct
    {
        QString recipient;
        QString attachment;
        QString refusal;
    } cases[] = {
        {QStringLiteral(" ; "), QString(),
         QStringLiteral("Indicare il mittente e il destinatario dell'e-mail")},
        {QStringLiteral("cliente@esempio.it"), m_dir.filePath(QStringLiteral("manca.pdf")),
         QStringLiteral("Il file da allegare non esiste: ") + m_dir.filePath(QStringLiteral("manca.pdf"))}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.refusal.toStdString());
        form.setRecipient(c.recipient);
        form.setAttachment(c.attachment);
        try {
            form.send();
            ADD_FAILURE() << "sent";
        } catch (const messaging::MessagingError& refusal) {
            EXPECT_EQ(refusal.message(), c.refusal);
            EXPECT_EQ(refusal.kind(), core::Error::Kind::Refusal);
        }
        EXPECT_TRUE(form.statusLines().isEmpty()) << "nothing was tried";
    }
}

} // namespace
