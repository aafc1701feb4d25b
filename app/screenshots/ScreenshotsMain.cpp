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
#include "foundation/DemoCompany.h"
#include "foundation/LookupTables.h"
#include "report/FileReportOutput.h"
#include "stock/sizes/LoadGrids.h"
#include "stock/sizes/LoadSizeGrid.h"
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

// A T-shirt in sizes and colours, loaded through the goods-in grid, for the size/colour windows.
struct SizeColourDemo
{
    int item = 0;
    int gridRow = 0;
};

SizeColourDemo prepareSizeColourDemo(core::Db& db, core::Dialogs& dialogs)
{
    foundation::LookupStore lists(db);
    lists.add(foundation::Lookup::TaglieTC, {{"DESCRIZIONE", "ADULTO"},
                                             {"TG1", "XS"},
                                             {"TG2", "S"},
                                             {"TG3", "M"},
                                             {"TG4", "L"},
                                             {"TG5", "XL"},
                                             {"TG6", "XXL"}});
    lists.add(foundation::Lookup::TaglieTC, {{"DESCRIZIONE", "SCARPE"},
                                             {"TG1", "38"},
                                             {"TG2", "39"},
                                             {"TG3", "40"},
                                             {"TG4", "41"},
                                             {"TG5", "42"}});
    for (const auto& [name, value] : {std::pair{"BIANCO", 16777215}, std::pair{"BLU NAVY", 8388608},
                                      std::pair{"NERO", 0}, std::pair{"ROSSO", 255}})
        lists.add(foundation::Lookup::Colori, {{"Descrizione", name}, {"Colore", value}});
    lists.add(foundation::Lookup::Taglie,
              {{"Gruppo_Taglia", "ADULTO"}, {"Codice", "M"}, {"Descrizione", "Medium"}});
    db.exec(QStringLiteral(
        "INSERT INTO articoli (CodArticolo, Descrizione, TC, GruppoTaglia, Pubblico, Listino1, "
        "Listino2) VALUES ('TSH-COT', 'T-shirt cotone girocollo', 1, 'ADULTO', 14.9, 14.9, 12.5)"));
    SizeColourDemo demo;
    demo.item = int(db.lastInsertId());
    stock::LoadSizeGrid grid(db, dialogs, demo.item);
    grid.addColour(QStringLiteral("BIANCO"));
    grid.addColour(QStringLiteral("NERO"));
    grid.addColour(QStringLiteral("BLU NAVY"));
    const int quantities[3][6] = {{2, 5, 8, 6, 3, 1}, {1, 4, 6, 6, 2, 0}, {0, 3, 4, 3, 2, 1}};
    for (int row = 0; row < 3; ++row)
        for (int size = 1; size <= 6; ++size)
            grid.setQuantity(row, size, quantities[row][size - 1]);
    const QString owner = QStringLiteral("carvendo-screenshots");
    core::Transaction load(db);
    grid.writeWorkRows(db, owner, 1);
    stock::LoadGrids::post(db, owner, 1, 1, QStringLiteral("MAGAZZINO CENTRALE"));
    load.commit();
    demo.gridRow = db.scalar(QStringLiteral("SELECT MIN(id) FROM disptc")).toInt();
    return demo;
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
        const int company = foundation::DemoCompany::prepare(paths, directory);

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
        const SizeColourDemo sizes = prepareSizeColourDemo(connections.company(), dialogs);
        for (const QString& name : registry.names()) {
            if (name == u"TAzienda")
                continue;
            core::NavigationRequest request{name, {}, QStringLiteral("carvendo-screenshots"), {}};
            if (name == u"TAziendaAnagrafica")
                request = {name, company, request.caller, {{QStringLiteral("mode"), QStringLiteral("view")}}};
            if (name == u"TDisponibilitaTC" || name == u"TScaricoTC")
                request = {name,
                           sizes.item,
                           request.caller,
                           {{QStringLiteral("tipodoc"), QStringLiteral("Fattura")}}};
            if (name == u"TTCEdit")
                request = {name, sizes.gridRow, request.caller, {{QStringLiteral("taglia"), 3}}};
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
