// Carvendo Pro: builds the shared objects (folders, login state, connections, the two ports, the
// windows) once, starts the embedded server when this workstation hosts it, and shows the company
// and login window. The program ends when that window closes.
//
//   carvendo            normal start
//   carvendo --demo     also prepares the demo company "Azienda Demo" and preselects it
#include "core/Clock.h"
#include "core/CommandGuard.h"
#include "core/ConnectionIni.h"
#include "core/Connections.h"
#include "core/EmbeddedServer.h"
#include "core/Paths.h"
#include "core/Session.h"
#include "demo/DemoCompany.h"
#include "foundation/ImpostazioniIni.h"
#include "foundation/StartupFiles.h"
#include "ui/AllWindows.h"
#include "ui/common/QtDialogs.h"
#include "ui/common/QtReportOutput.h"
#include "ui/common/WidgetNavigator.h"
#include "ui/common/WindowRegistry.h"
#include "ui/foundation/TAzienda.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QPainter>
#include <QSocketNotifier>
#include <QSplashScreen>

#include <csignal>
#include <cstdlib>
#include <unistd.h>

using namespace carvendo;

Q_LOGGING_CATEGORY(startLog, "carvendo.start")

namespace {

// The start-up picture, shown while the server starts and the companies are read.
std::unique_ptr<QSplashScreen> showSplash()
{
    QPixmap picture(480, 240);
    picture.fill(QColor(0x1f, 0x4e, 0x79));
    QPainter painter(&picture);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPointSize(26);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("Carvendo Pro"));
    painter.end();
    auto splash = std::make_unique<QSplashScreen>(picture);
    splash->show();
    splash->showMessage(QStringLiteral("Avvio in corso..."), Qt::AlignBottom | Qt::AlignHCenter, Qt::white);
    QApplication::processEvents();
    return splash;
}

// A termination request (SIGTERM, SIGINT) ends the program the orderly way, so the embedded
// server it started is stopped too. The handler only writes to a pipe; Qt does the rest.
int g_signalPipe[2] = {-1, -1};

void onTerminationSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_signalPipe[1], &byte, 1);
}

void quitOnTerminationSignals(QObject* owner)
{
    if (::pipe(g_signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, [] { QCoreApplication::exit(0); });
    std::signal(SIGTERM, onTerminationSignal);
    std::signal(SIGINT, onTerminationSignal);
}

struct Options
{
    bool demo = false;
    bool autoLogin = false; // --demo only: logs the demo operator in (screenshots, checks)
};

Options parseOptions(const QApplication& app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Carvendo Pro"));
    parser.addHelpOption();
    const QCommandLineOption demo(QStringLiteral("demo"),
                                  QStringLiteral("Prepara e propone l'azienda dimostrativa"));
    const QCommandLineOption login(QStringLiteral("login"), QStringLiteral("Con --demo: accede come admin"));
    parser.addOption(demo);
    parser.addOption(login);
    parser.process(app);
    return Options{parser.isSet(demo), parser.isSet(demo) && parser.isSet(login)};
}

// Everything after the files are known to be usable; returns the program's exit code.
int run(const Options& options, const core::Paths& paths, ui::QtDialogs& dialogs,
        const QElapsedTimer& sinceStart)
{
    std::unique_ptr<QSplashScreen> splash;
    if (foundation::showsSplashScreen(paths))
        splash = showSplash();
    core::Session session;
    core::Connections connections;
    core::EmbeddedServer embedded(core::EmbeddedServer::Options{paths.serverDir()});
    ui::WindowRegistry registry;
    ui::registerAllWindows(registry, embedded);
    ui::WidgetNavigator navigator(registry);
    core::SystemClock clock;
    ui::QtReportOutput reports(paths.reportDir(), dialogs, paths.impostazioniIni());
    ui::WindowEnvironment environment{session, paths, connections, dialogs, navigator, clock, reports};
    navigator.setEnvironment(&environment);

    core::DirectorySettings directory = core::ConnectionIni(paths.connessioneIni()).directory();
    if (options.demo && !directory.isComplete()) {
        // The demo runs on this machine's embedded server with the first-start defaults.
        directory = core::DirectorySettings::defaults();
        core::ConnectionIni ini(paths.connessioneIni());
        ini.setDirectory(directory);
        ini.save();
    }
    session.setMachineType(
        core::machineTypeFromText(directory.machineType).value_or(core::MachineType::ClientServer));

    // A server that does not start or a demo that cannot be prepared is told; the login window still
    // comes, where another server can be chosen.
    int demoCompany = 0;
    core::runGuarded(dialogs, [&] {
        if (directory.isComplete() && embedded.startIfNeeded(directory))
            qCInfo(startLog) << "embedded server started in" << embedded.lastStartMilliseconds() << "ms";
        if (options.demo)
            demoCompany = demo::DemoCompany::prepare(paths, directory);
    });

    ui::TAzienda login(environment);
    const bool reached = login.start();
    if (splash)
        splash->finish(&login);
    if (!reached)
        return 0;
    qCInfo(startLog) << "login window ready after" << sinceStart.elapsed() << "ms";
    if (demoCompany > 0) {
        for (int row = 0; row < login.logic().companies().size(); ++row)
            if (login.logic().companies()[row][u"id"].toInt() == demoCompany)
                login.selectRow(row);
        login.setLogin(QStringLiteral("MAGAZZINO CENTRALE"), QStringLiteral("admin"),
                       QStringLiteral("admin"));
        if (options.autoLogin)
            QMetaObject::invokeMethod(&login, &ui::TAzienda::login, Qt::QueuedConnection);
    }
    login.exec();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Carvendo Pro"));
    const Options options = parseOptions(app);
    quitOnTerminationSignals(&app);

    const core::Paths paths = core::Paths::fromEnvironment(QCoreApplication::applicationDirPath());
    ui::QtDialogs dialogs;
    if (const int unusable = foundation::StartupFiles(paths).checkOrTell(dialogs))
        return unusable;
    // Whatever still fails on the way up (a settings file changed meanwhile, a folder gone) is told
    // in an error box and the program ends with a failure code, never with an abort.
    int exitCode = EXIT_FAILURE;
    core::runGuarded(dialogs, [&] { exitCode = run(options, paths, dialogs, sinceStart); });
    return exitCode;
}
