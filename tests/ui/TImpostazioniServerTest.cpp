#include "ui/foundation/TImpostazioniServer.h"

#include "core/CompanyDatabase.h"
#include "core/CompanyDirectory.h"
#include "core/EmbeddedServer.h"
#include "tests/support/QtPrinters.h"
#include "tests/ui/WindowTestBench.h"

using namespace carvendo;

namespace {

class TImpostazioniServerTest : public ::testing::Test, protected carvendo::testing::WindowTestBench
{
protected:
    // As if typed: the field's text replaced through the keyboard path, so the window hears of it.
    static void type(QWidget& window, const char* field, const QString& text)
    {
        QLineEdit* edit = child<QLineEdit>(window, field);
        edit->selectAll();
        edit->insert(text);
    }

    core::EmbeddedServer m_embedded{
        core::EmbeddedServer::Options{m_dir.filePath(QStringLiteral("mysql")), false, false}};
};

// The slow part runs behind the progress bar and the directory appears on the server.
TEST_F(TImpostazioniServerTest, SalvaOnAClientServerCreatesTheDirectoryBehindTheProgressBar)
{
    const core::ConnectionSettings s = carvendo::testing::serverSettings();
    const QString name = QStringLiteral("uidir_%1").arg(QCoreApplication::applicationPid());
    ui::TImpostazioniServer window(m_environment, m_embedded);
    type(window, "server", s.host);
    type(window, "porta", QString::number(s.port));
    type(window, "database", name);
    type(window, "username", s.user);
    type(window, "password", s.password);
    child<QPushButton>(window, "salva")->click();
    EXPECT_EQ(window.result(), QDialog::Accepted) << m_dialogs.lastText().toStdString();
    auto server = carvendo::testing::connectToServer();
    EXPECT_TRUE(core::CompanyDirectory::directoryExists(*server, name));
    core::dropDatabase(*server, name);
}

} // namespace
