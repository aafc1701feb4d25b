#include "ui/messaging/TMailForm.h"

#include "core/LocalServer.h"
#include "messaging/MailMessage.h"
#include "tests/ui/WindowTestBench.h"

#include <QListWidget>
#include <QPlainTextEdit>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class TMailFormWindowTest : public ct::CompanySuite<TMailFormWindowTest>, protected ct::WindowTestBench
{
protected:
    void SetUp() override { useCompany(company()); }
};

TEST_F(TMailFormWindowTest, AFailedSendingKeepsTheWindowOpenWithWhatWasTyped)
{
    const int closedPort = core::LocalServer::findFreePort();
    db().exec(QStringLiteral(
                  "UPDATE mail SET hostname = '127.0.0.1', port = :PORT, mittente = 'negozio@esempio.it'"),
              {{QStringLiteral("PORT"), closedPort}});
    messaging::MailMessage filled;
    filled.to = QStringLiteral("cliente@esempio.it");
    filled.subject = QStringLiteral("Fattura Nr. 3 del 01/12/2026");
    filled.body = {QStringLiteral("Spett.le Rossi"), QString(), QStringLiteral("Saluti")};
    ui::TMailForm window(m_environment,
                         {QStringLiteral("TMailForm"), {}, QStringLiteral("Fattura"), filled.toValues()});
    window.show();
    EXPECT_EQ(child<QLineEdit>(window, "edMittente")->text(), QStringLiteral("negozio@esempio.it"));
    EXPECT_EQ(child<QPlainTextEdit>(window, "Body")->toPlainText(),
              QStringLiteral("Spett.le Rossi\n\nSaluti"));

    QLineEdit* recipient = child<QLineEdit>(window, "edDest");
    recipient->selectAll();
    pressKey(recipient, Qt::Key_Backspace);
    buttonCaptioned(window, QStringLiteral("Invia"))->click();
    EXPECT_EQ(m_dialogs.messages(),
              QStringList{QStringLiteral("Indicare il mittente e il destinatario dell'e-mail")});

    type(recipient, QStringLiteral("altro@esempio.it"));
    QPlainTextEdit* body = child<QPlainTextEdit>(window, "Body");
    body->moveCursor(QTextCursor::End);
    type(body, QStringLiteral("!"));
    buttonCaptioned(window, QStringLiteral("Invia"))->click();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(
        window.statusList()->item(0)->text(),
        QStringLiteral("ERROR: Impossibile connettersi al server di posta 127.0.0.1:%1").arg(closedPort));
    EXPECT_EQ(recipient->text(), QStringLiteral("altro@esempio.it"));
    EXPECT_EQ(window.logic().message().body.last(), QStringLiteral("Saluti!"));
    EXPECT_EQ(m_dialogs.messages().size(), 1) << "the reason is in the status list";
}

} // namespace
