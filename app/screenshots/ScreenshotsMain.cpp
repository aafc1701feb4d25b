// Saves a picture of every window the program has, so a reviewer sees them without clicking.
//   carvendo-screenshots OUTPUT_FOLDER
// Runs on a throw-away demo company in a private server of its own (temporary folder, free port).
// Questions a window would ask while opening get "No"; what it would say goes to the log.
#include "core/Clock.h"
#include "core/ConnectionIni.h"
#include "core/Connections.h"
#include "core/Dialogs.h"
#include "core/EmbeddedServer.h"
#include "core/LocalServer.h"
#include "core/Navigator.h"
#include "core/Paths.h"
#include "core/Privileges.h"
#include "core/Session.h"
#include "demo/DemoCompany.h"
#include "report/FileReportOutput.h"
#include "ui/AllWindows.h"
#include "ui/common/WindowEnvironment.h"
#include "ui/common/WindowRegistry.h"
#include "ui/foundation/TAzienda.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

using namespace carvendo;

namespace {

class SilentDialogs : public core::Dialogs
{
public:
    bool confirm(const QString& text, core::ConfirmButtons, const QString&) override
    {
        return log(text), false;
    }
    std::optional<QString> askText(const QString&, const QString& prompt, const QString&) override
    {
        return log(prompt), std::nullopt;
    }
    std::optional<int> chooseOption(const QString&, const QString& prompt, const QStringList&) override
    {
        return log(prompt), std::nullopt;
    }
    std::optional<QString> chooseFile(const QString& title, const QString&, core::FileMode,
                                      const QString&) override
    {
        return log(title), std::nullopt;
    }
    void beep() override {}

protected:
    void showMessage(core::MessageKind, const QString& text, const QString&) override { log(text); }

private:
    static void log(const QString& text) { QTextStream(stderr) << "  (messaggio) " << text << '\n'; }
};

// Windows opened from a window being photographed are not opened: only the ones asked for show.
class NoNavigator : public core::Navigator
{
protected:
    core::NavigationResult openWindow(const core::NavigationRequest&) override { return {}; }
};

bool save(QWidget* window, const QString& file)
{
    window->show();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    const bool ok = window->grab().save(file);
    window->hide();
    QTextStream(stdout) << (ok ? "salvata " : "NON salvata ") << file << '\n';
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (app.arguments().size() < 2) {
        QTextStream(stderr) << "uso: carvendo-screenshots CARTELLA\n";
        return 2;
    }
    const QString output = QDir(app.arguments()[1]).absolutePath();
    QDir().mkpath(output);

    QTemporaryDir scratch;
    const QString install = core::Paths::fromEnvironment(QCoreApplication::applicationDirPath()).installDir();
    const core::Paths paths(scratch.path() + QStringLiteral("/dati"), install);
    core::Paths::ensureDir(paths.dataDir());

    core::LocalServerConfig serverConfig;
    serverConfig.folder = scratch.path() + QStringLiteral("/mysql");
    serverConfig.port = core::LocalServer::findFreePort();
    serverConfig.rootPassword = QStringLiteral("schermate");
    serverConfig.durable = false;
    core::LocalServer server(serverConfig);

    int failures = 0;
    try {
        server.start();
        core::DirectorySettings directory{QStringLiteral("127.0.0.1"), serverConfig.port,
                                          QStringLiteral("aziende"),   QStringLiteral("root"),
                                          serverConfig.rootPassword,   QStringLiteral("CLIENT/SERVER")};
        core::ConnectionIni ini(paths.connessioneIni());
        ini.setDirectory(directory);
        ini.save();
        const int company = demo::DemoCompany::prepare(paths, directory);

        core::Session session;
        core::Connections connections;
        SilentDialogs dialogs;
        NoNavigator navigator;
        core::SystemClock clock;
        report::FileReportOutput reports(paths.reportDir(), output + QStringLiteral("/stampe"));
        ui::WindowEnvironment environment{session, paths, connections, dialogs, navigator, clock, reports};
        core::EmbeddedServer embedded(
            core::EmbeddedServer::Options{scratch.path() + QStringLiteral("/embedded"), false, false});
        ui::WindowRegistry registry;
        ui::registerAllWindows(registry, embedded);

        ui::TAzienda login(environment);
        if (login.start()) {
            for (int row = 0; row < login.logic().companies().size(); ++row)
                if (login.logic().companies()[row][u"id"].toInt() == company)
                    login.selectRow(row);
            login.setLogin(QStringLiteral("MAGAZZINO CENTRALE"), QStringLiteral("admin"), QString());
            failures += !save(&login, output + QStringLiteral("/TAzienda.png"));
            login.logic().login(QStringLiteral("MAGAZZINO CENTRALE"), QStringLiteral("admin"),
                                QStringLiteral("admin"));
        }
        for (const QString& name : registry.names()) {
            if (name == u"TAzienda")
                continue;
            core::NavigationRequest request{name, {}, QStringLiteral("carvendo-screenshots"), {}};
            if (name == u"TAziendaAnagrafica")
                request = {name, company, request.caller, {{QStringLiteral("mode"), QStringLiteral("view")}}};
            // A window that cannot be made is reported and the others still come out.
            try {
                std::unique_ptr<ui::Window> window(registry.create(name, environment, request, nullptr));
                if (window)
                    failures += !save(window.get(), output + u'/' + name + QStringLiteral(".png"));
            } catch (const std::exception& e) {
                QTextStream(stderr) << name << ": " << e.what() << '\n';
                ++failures;
            }
        }
    } catch (const std::exception& e) {
        QTextStream(stderr) << e.what() << '\n';
        ++failures;
    }
    try {
        server.stop();
    } catch (const std::exception& e) {
        QTextStream(stderr) << e.what() << '\n';
    }
    return failures == 0 ? 0 : 1;
}
