#include "messaging/Sms.h"
#include "messaging/RepairSms.h"

#include "core/LocalServer.h"
#include "messaging/MessagingError.h"
#include "tests/support/FailingWrite.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"

#include <QTcpServer>
#include <QTcpSocket>

#include <future>
#include <thread>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

// The SMS gateway on this machine: it takes one request on a thread of its own and gives the
// scripted answer. Every wait is bounded and ends on the socket's own events.
class GatewayStub
{
public:
    explicit GatewayStub(QByteArray answer, int status = 200)
    {
        std::promise<quint16> listening;
        std::future<quint16> port = listening.get_future();
        m_thread = std::thread([this, answer = std::move(answer), status, &listening] {
            QTcpServer server;
            server.listen(QHostAddress::LocalHost);
            listening.set_value(server.serverPort());
            if (!server.waitForNewConnection(30000))
                return;
            QTcpSocket* socket = server.nextPendingConnection();
            QByteArray request;
            while (!complete(request) && socket->waitForReadyRead(30000))
                request += socket->readAll();
            m_request = request;
            socket->write("HTTP/1.1 " + QByteArray::number(status) +
                          " Risposta\r\nContent-Type: text/plain\r\n"
                          "Content-Length: " +
                          QByteArray::number(answer.size()) + "\r\nConnection: close\r\n\r\n" + answer);
            socket->waitForBytesWritten(30000);
            socket->disconnectFromHost();
            if (socket->state() != QAbstractSocket::UnconnectedState)
                socket->waitForDisconnected(30000);
        });
        m_address = QStringLiteral("http://127.0.0.1:%1/sms/invio").arg(port.get());
    }
    ~GatewayStub()
    {
        if (m_thread.joinable())
            m_thread.join();
    }

    const QString& address() const { return m_address; }
    // The request line and the body the gateway got.
    std::pair<QByteArray, QByteArray> request()
    {
        m_thread.join();
        const qsizetype end = m_request.indexOf("\r\n\r\n");
        return {m_request.left(m_request.indexOf("\r\n")), m_request.mid(end + 4)};
    }

private:
    static bool complete(const QByteArray& request)
    {
        const qsizetype end = request.indexOf("\r\n\r\n");
        if (end < 0)
            return false;
        const qsizetype at = request.toLower().indexOf("content-length:");
        const qsizetype length =
            at < 0 ? 0 : request.mid(at + 15, request.indexOf("\r\n", at) - at - 15).trimmed().toLongLong();
        return request.size() >= end + 4 + length;
    }

    std::thread m_thread;
    QString m_address;
    QByteArray m_request;
};

class SmsTest : public ct::CompanySuite<SmsTest>
{
protected:
    void SetUp() override { emptyTables({"sms_configurazione", "sms_corpo"}); }

    void account(const QString& username, const QString& password, const QString& gateway)
    {
        insert("sms_configurazione", {{QStringLiteral("id"), 1},
                                      {QStringLiteral("Username"), username},
                                      {QStringLiteral("Password"), password},
                                      {QStringLiteral("QualitaSms"), QStringLiteral("alta")},
                                      {QStringLiteral("Mittente"), QStringLiteral("TelRossi")},
                                      {QStringLiteral("Gateway"), gateway}});
        insert("sms_corpo",
               {{QStringLiteral("id"), 1},
                {QStringLiteral("TestoCat"), QStringLiteral("La riparazione è pronta & la attende")}});
    }
    static QString nobodyListening()
    {
        return QStringLiteral("http://127.0.0.1:%1/sms").arg(core::LocalServer::findFreePort());
    }

    ct::ScriptedDialogs m_dialogs;
};

TEST_F(SmsTest, TheRepairTextReachesTheGatewayWithEveryField)
{
    GatewayStub gateway("OK 4711\n");
    account(QStringLiteral("negozio"), QStringLiteral("p&ss=1"), gateway.address());

    EXPECT_TRUE(messaging::RepairSms(db(), m_dialogs).send(QStringLiteral("333 123-4567")));
    const auto [line, body] = gateway.request();
    EXPECT_EQ(line, "POST /sms/invio HTTP/1.1");
    EXPECT_EQ(body, "utente=negozio&password=p%26ss%3D1&mittente=TelRossi&destinatario=%2B393331234567"
                    "&testo=La%20riparazione%20%C3%A8%20pronta%20%26%20la%20attende&qualita=alta");
    EXPECT_TRUE(m_dialogs.events().empty());
}

TEST(SmsNumber, AMobileTypedWithItsPrefixDoesNotGetASecondOne)
{
    for (const char* typed : {"333 123-4567", "+39 333 1234567", "0039.333.1234567", "(+39) 3331234567"})
        EXPECT_EQ(messaging::RepairSms::internationalNumber(QString::fromUtf8(typed)),
                  QStringLiteral("+393331234567"))
            << typed;
    EXPECT_EQ(messaging::RepairSms::internationalNumber(QStringLiteral("+41 79 123 45 67")),
              QStringLiteral("+41791234567"));
}

TEST_F(SmsTest, TheGatewaysRefusalIsTold)
{
    const struct
    {
        QByteArray answer;
        int status;
        QString told;
    } cases[] = {
        {"ERRORE credenziali non valide\n", 200,
         QStringLiteral("Il servizio Sms ha rifiutato il messaggio: ERRORE credenziali non valide")},
        {"guasto", 503, QStringLiteral("Il servizio Sms ha risposto con un errore (HTTP 503): guasto")}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.told.toStdString());
        emptyTables({"sms_configurazione", "sms_corpo"});
        GatewayStub gateway(c.answer, c.status);
        account(QStringLiteral("negozio"), QStringLiteral("segreta"), gateway.address());
        try {
            messaging::RepairSms(db(), m_dialogs).send(QStringLiteral("3331234567"));
            ADD_FAILURE() << "taken";
        } catch (const messaging::MessagingError& refusal) {
            EXPECT_EQ(refusal.message(), c.told);
        }
    }
}

TEST_F(SmsTest, NothingIsSentWithoutAccountOrMobile)
{
    const QString accountMessage = QStringLiteral("Attenzione! Controllare i dati dell'account");
    const struct
    {
        QString username;
        QString password;
        QString mobile;
        QString told;
    } cases[] = {
        {QString(), QStringLiteral("segreta"), QStringLiteral("3331234567"), accountMessage},
        {QStringLiteral("negozio"), QString(), QStringLiteral("3331234567"), accountMessage},
        {QStringLiteral("negozio"), QStringLiteral("segreta"), QStringLiteral(" "),
         QStringLiteral("Attenzione! Il Cliente non ha nessun numero di cellulare registrato per l'invio "
                        "dell'sms")}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.told.toStdString());
        emptyTables({"sms_configurazione", "sms_corpo"});
        m_dialogs.clear();
        // Nobody answers there: a message that went out would fail the test.
        account(c.username, c.password, nobodyListening());
        EXPECT_FALSE(messaging::RepairSms(db(), m_dialogs).send(c.mobile));
        ASSERT_EQ(m_dialogs.events().size(), 2u);
        EXPECT_EQ(m_dialogs.events()[0].kind, ct::DialogEvent::Kind::Beep);
        EXPECT_EQ(m_dialogs.messages(), QStringList{c.told});
    }

    messaging::Sms settings(db(), m_dialogs);
    settings.open();
    settings.setAccountValue(QStringLiteral("Username"), QString());
    m_dialogs.clear();
    EXPECT_FALSE(settings.checkAccount());
    EXPECT_EQ(m_dialogs.messages(), QStringList{accountMessage});
}

TEST_F(SmsTest, TheAccountCheckUsesTheAccountAsTyped)
{
    GatewayStub gateway("OK\n");
    messaging::Sms settings(db(), m_dialogs);
    settings.open();
    settings.setAccountValue(QStringLiteral("Username"), QStringLiteral("nuovo"));
    settings.setAccountValue(QStringLiteral("Password"), QStringLiteral("segreta"));
    settings.setAccountValue(QStringLiteral("Gateway"), gateway.address());

    EXPECT_TRUE(settings.checkAccount());
    EXPECT_EQ(gateway.request().second,
              "utente=nuovo&password=segreta&mittente=&destinatario=%2B111111111&testo=&qualita=");
    EXPECT_EQ(m_dialogs.messages(),
              QStringList{QStringLiteral("Account Sms verificato: il servizio ha accettato i dati")});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM sms_configurazione")), 0) << "checked, not saved";
}

TEST_F(SmsTest, TwoWorkstationsSavingKeepEachOthersChangesAndAFailedSaveKeepsNeither)
{
    auto other = company().newConnection();
    messaging::Sms first(db(), m_dialogs);
    messaging::Sms second(*other, m_dialogs);
    first.open();
    second.open();
    first.setAccountValue(QStringLiteral("Username"), QStringLiteral("negozio"));
    second.setTextValue(QStringLiteral("TestoCat"), QStringLiteral("Riparazione pronta"));
    first.save();
    second.save();
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT Username FROM sms_configurazione WHERE id = 1")).toString(),
              QStringLiteral("negozio"));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT TestoCat FROM sms_corpo WHERE id = 1")).toString(),
              QStringLiteral("Riparazione pronta"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM sms_configurazione")), 1);

    first.setAccountValue(QStringLiteral("Mittente"), QStringLiteral("TelRossi"));
    first.setTextValue(QStringLiteral("TestoPromo"), QStringLiteral("Sconti"));
    {
        ct::FailingWrite failing(db(), ct::FailingWrite::On::Update, QStringLiteral("sms_corpo"));
        EXPECT_THROW(first.save(), core::Error);
    }
    EXPECT_TRUE(db().scalar(QStringLiteral("SELECT Mittente FROM sms_configurazione WHERE id = 1")).isNull());
    first.save();
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT TestoPromo FROM sms_corpo WHERE id = 1")).toString(),
              QStringLiteral("Sconti"));
}

} // namespace
