// Saves a picture of every window the program has, so a reviewer sees them without clicking.
//   carvendo-screenshots OUTPUT_FOLDER
// Runs on a throw-away demo company in a private server of its own (temporary folder, free port).
// Questions a window would ask while opening get "No"; what it would say goes to the log.
#include "core/Clock.h"
#include "core/ConnectionIni.h"
#include "core/Connections.h"
#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/EmbeddedServer.h"
#include "core/LocalServer.h"
#include "core/Navigator.h"
#include "core/Paths.h"
#include "core/Privileges.h"
#include "core/Session.h"
#include "demo/DemoCompany.h"
#include "foundation/LookupTables.h"
#include "report/FileReportOutput.h"
#include "stock/serials/LoadSerialCapture.h"
#include "stock/serials/SerialSales.h"
#include "stock/sizes/LoadGrids.h"
#include "stock/sizes/LoadSizeGrid.h"
#include "ui/AllWindows.h"
#include "ui/common/WindowEnvironment.h"
#include "ui/common/WindowRegistry.h"
#include "ui/foundation/TAzienda.h"
#include "ui/stock/LoadWindows.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTabWidget>
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

// The goods-in windows with something in them: a load with rows, and its row dialog on each page.
int saveLoadWindows(ui::WindowEnvironment& environment, const QString& output)
{
    core::Db& db = environment.connections.company();
    db.exec(QStringLiteral("INSERT INTO fornitori (RagSoc, PIva, Pagamento) VALUES ('TELEFONIA ITALIA SPA', "
                           "'01234567890', 'CONTANTI')"));
    const int supplier = int(db.lastInsertId());
    db.exec(QStringLiteral("INSERT INTO pagamenti (Descrizione, modalita) VALUES ('CONTANTI', 'Contanti')"));
    // Sizes and colours are the size/colour demo's ("ADULTO", "NERO", "BIANCO").
    const auto item = [&](const char* code, const char* description, double cost, bool serial, bool sizes) {
        db.exec(QStringLiteral(
                    "INSERT INTO articoli (CodArticolo, Descrizione, BarcodeFull, UM, UMVENDITA, Aliquota, "
                    "PrezzoAcqnoiva, Fornitore, Seriale, TC, GruppoTaglia, giacenza, Disponibilita) "
                    "VALUES (:C, :D, CONCAT('80012345', :C), 'PZ', 'PZ', 22, :P, "
                    "'TELEFONIA ITALIA SPA', :S, :T, IF(:T, 'ADULTO', ''), 0, 0)"),
                {{QStringLiteral("C"), QString::fromLatin1(code)},
                 {QStringLiteral("D"), QString::fromUtf8(description)},
                 {QStringLiteral("P"), cost},
                 {QStringLiteral("S"), serial},
                 {QStringLiteral("T"), sizes}});
        return int(db.lastInsertId());
    };
    const int charger = item("10001", "CARICABATTERIE USB-C 25W", 6.5, false, false);
    const int cover = item("10002", "COVER SILICONE SMARTPHONE", 2.9, false, false);
    const int phone = item("10003", "SMARTPHONE 6,1\" 128GB NERO", 289, true, false);
    const int shirt = item("10004", "T-SHIRT COTONE LOGO", 4.8, false, true);

    int failures = 0;
    ui::TCarico load(environment, {QStringLiteral("TCarico")});
    load.logic().setSupplier(supplier);
    load.logic().setDocumentNumber(QStringLiteral("FT 1284"));
    for (const auto& [id, quantity] : {std::pair{charger, "10"}, std::pair{cover, "25"}}) {
        std::unique_ptr<stock::CaricoDialogo> row = load.logic().rowForItem(id);
        row->setQuantityText(QString::fromLatin1(quantity));
        load.logic().confirmRow(*row);
    }
    failures += !save(&load, output + QStringLiteral("/TCarico.png"));
    QFile::copy(load.logic().savePdf(), output + QStringLiteral("/Carico.pdf"));

    const auto dialog = [&](int id, int page, const QString& file,
                            const std::function<void(stock::CaricoDialogo&)>& fill) {
        std::unique_ptr<stock::CaricoDialogo> row = load.logic().rowForItem(id);
        fill(*row);
        ui::TCaricoDialogo window(environment.dialogs, load.logic(), std::move(row));
        window.pages()->setCurrentIndex(page);
        failures += !save(&window, output + file);
        window.reject(); // its serials go back
    };
    dialog(charger, 0, QStringLiteral("/TCaricoDialogo.png"), [](stock::CaricoDialogo&) {});
    const auto serials = [](stock::CaricoDialogo& row) {
        for (const char* imei : {"356789104455661", "356789104455679", "356789104455687"})
            row.serials()->add(QString::fromLatin1(imei), stock::SerialEntry::Button);
    };
    dialog(phone, 1, QStringLiteral("/TCaricoDialogo-Seriali.png"), serials);
    dialog(phone, 2, QStringLiteral("/TCaricoDialogo-Lotto.png"), [](stock::CaricoDialogo&) {});
    dialog(shirt, 1, QStringLiteral("/TCaricoDialogo-Taglie.png"), [](stock::CaricoDialogo& row) {
        row.grid()->addColour(QStringLiteral("NERO"));
        row.grid()->addColour(QStringLiteral("BIANCO"));
        row.grid()->setQuantity(0, 2, 3);
        row.grid()->setQuantity(0, 3, 5);
        row.grid()->setQuantity(1, 4, 2);
    });
    ui::TCarichi list(environment, {QStringLiteral("TCarichi")});
    failures += !save(&list, output + QStringLiteral("/TCarichi.png"));
    return failures;
}

// A phone's life for the serial windows to show: two serials loaded, one sold on an invoice, and a lot
// of SIM cards, written through the program's own commands.
const QString DemoSerial = QStringLiteral("356938035643809");
const QString DemoLot = QStringLiteral("LOTTO-2026-001");

void prepareSerialStory(core::Db& db, const core::Session& session, core::Dialogs& dialogs)
{
    const core::Rows items = db.query(
        QStringLiteral("SELECT ID, CodArticolo, Descrizione, Barcode FROM articoli ORDER BY ID LIMIT 1"));
    if (items.isEmpty())
        return;
    const core::Row item = items.first();
    const stock::SerialItem phone{item["ID"].toInt(), item["CodArticolo"].toString(),
                                  item["Descrizione"].toString(), item["Barcode"].toString()};
    const stock::SerialActor actor = stock::actorOf(session);
    stock::LoadSerialCapture load(db, dialogs, 0, 0, phone, actor);
    load.add(DemoSerial, stock::SerialEntry::Enter);
    load.add(QStringLiteral("356938035643817"), stock::SerialEntry::Enter);
    load.addLot(DemoLot, QStringLiteral("SIM0001"), 5);
    stock::SerialSales(db, actor).sell(
        phone.itemId, DemoSerial,
        {QStringLiteral("Fattura"), 1, QStringLiteral("1"), 0, QStringLiteral("ROSSI MARIO")});
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
        try {
            prepareSerialStory(connections.company(), session, dialogs);
        } catch (const std::exception& e) {
            QTextStream(stderr) << "seriali di prova: " << e.what() << '\n';
        }
        const SizeColourDemo sizes = prepareSizeColourDemo(connections.company(), dialogs);
        for (const QString& name : registry.names()) {
            if (name == u"TAzienda")
                continue;
            core::NavigationRequest request{name, {}, QStringLiteral("carvendo-screenshots"), {}};
            if (name == u"TAziendaAnagrafica")
                request = {name, company, request.caller, {{QStringLiteral("mode"), QStringLiteral("view")}}};
            if (name == u"TSeriali")
                request.key = DemoSerial;
            if (name == u"TLotti")
                request.key = DemoLot;
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
        failures += saveLoadWindows(environment, output);
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
