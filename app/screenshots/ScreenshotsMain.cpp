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
#include "messaging/MailMessage.h"
#include "registry/Cliente.h"
#include "report/FileReportOutput.h"
#include "stock/serials/LoadSerialCapture.h"
#include "stock/serials/SerialSales.h"
#include "stock/sizes/LoadSizeGrid.h"
#include "ui/AllWindows.h"
#include "ui/common/WindowEnvironment.h"
#include "ui/common/WindowRegistry.h"
#include "ui/documents/InvoiceWindows.h"
#include "ui/documents/TFatture.h"
#include "ui/foundation/TAzienda.h"
#include "ui/foundation/TConfig.h"
#include "ui/pos/TPosClassic.h"
#include "ui/registry/TCliente.h"
#include "ui/stock/LoadWindows.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
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

// The key of a demo item by its code.
int demoItem(core::Db& db, const char* code)
{
    return db
        .scalar(QStringLiteral("SELECT ID FROM articoli WHERE CodArticolo = :CODICE"),
                {{QStringLiteral("CODICE"), QString::fromLatin1(code)}})
        .toInt();
}

// The goods-in windows with something in them: a new load of the demo's accessories, and its row
// dialog on each page.
int saveLoadWindows(ui::WindowEnvironment& environment, const QString& output)
{
    core::Db& db = environment.connections.company();
    const int supplier = db.scalar(QStringLiteral("SELECT id_fornitore FROM fornitori WHERE RagSoc = "
                                                  "'Distribuzione Telefonia Srl'"))
                             .toInt();
    const int charger = demoItem(db, "CAR-20W");
    const int cover = demoItem(db, "COV-SIL");
    const int phone = demoItem(db, "SMP-65128");
    const int sweatshirt = demoItem(db, "FEL-CAP");

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
    dialog(sweatshirt, 1, QStringLiteral("/TCaricoDialogo-Taglie.png"), [](stock::CaricoDialogo& row) {
        row.grid()->addColour(QStringLiteral("NERO"));
        row.grid()->addColour(QStringLiteral("ROSSO"));
        row.grid()->setQuantity(0, 2, 3);
        row.grid()->setQuantity(0, 3, 5);
        row.grid()->setQuantity(1, 4, 2);
    });
    ui::TCarichi list(environment, {QStringLiteral("TCarichi")});
    failures += !save(&list, output + QStringLiteral("/TCarichi.png"));

    // A supplier's e-invoice with two lines the shop's items do not match.
    const auto line = [](int number, const char* code, const char* description, double quantity,
                         qint64 cents) {
        einvoice::SupplierInvoiceLine read;
        read.numero = number;
        read.codici = {{QStringLiteral("Codice fornitore"), QString::fromLatin1(code)}};
        read.descrizione = QString::fromUtf8(description);
        read.quantita = quantity;
        read.prezzoUnitario = core::Money::fromUnits(cents * 100);
        return read;
    };
    ui::TRigheFatturaFornitore unmatched(
        environment, {line(3, "AUR-BT5", "Auricolari Bluetooth 5.3 con custodia", 6, 1890),
                      line(7, "VETR-A54", "Vetro temperato Galaxy A54", 20, 250),
                      line(8, "TRASP", "Spese di trasporto", 1, 900)});
    for (const int row : {0, 1}) {
        unmatched.list()->selectRow(row);
        unmatched.findChild<QPushButton*>(QStringLiteral("crea"))->click();
    }
    unmatched.list()->selectRow(2);
    failures += !save(&unmatched, output + QStringLiteral("/TRigheFatturaFornitore.png"));
    return failures;
}

// The immediate invoice with a customer, items, a manual line and three instalments, on each of its
// pages; its quantity dialog (for a phone with serials), the manual line and the PDF.
int saveInvoiceWindows(ui::WindowEnvironment& environment, const QString& output)
{
    core::Db& db = environment.connections.company();
    int failures = 0;
    // The shop charges the stamp duty to its customers: the invoice takes that when it is made.
    db.exec(QStringLiteral("UPDATE fatturapa_configurazione SET BolloACaricoCliente = 1"));
    ui::TFatturaImmediata window(environment, {QStringLiteral("TFatturaImmediata")});
    documents::FatturaImmediata& invoice = window.logic();
    // The demo has no customers: one with a full address for the picture.
    db.exec(QStringLiteral(
        "INSERT INTO clienti (CodiceCliente, RagioneSociale, Indirizzo, Cap, Citta, ProvRes, pIva, CodFisc, "
        "Listino, email) VALUES (1, 'Studio Tecnico Ferri', 'Via Garibaldi 18', '40121', 'Bologna', 'BO', "
        "'03456780372', '03456780372', 'LISTINO1', 'amministrazione@studioferri.it')"));
    invoice.setCustomer(int(db.lastInsertId()));
    for (const auto& [code, quantity] : {std::pair{"CAR-20W", "2"}, std::pair{"COV-SIL", "3"}}) {
        std::unique_ptr<documents::QuantityEntry> entry = invoice.entryFor(demoItem(db, code));
        const auto values = entry->confirm(QString::fromLatin1(quantity), entry->startPrice().toItalian(),
                                           QStringLiteral("0"), {});
        if (values)
            invoice.confirmEntry(*entry, *values);
    }
    invoice.addManualLine({{},
                           QStringLiteral("Trasferimento dati e configurazione"),
                           QStringLiteral("PZ"),
                           22,
                           1,
                           *core::Money::parse(QStringLiteral("25")),
                           true,
                           {}});
    // An exempt insurance over 77,47: the invoice pays the stamp duty.
    invoice.addManualLine({{},
                           QStringLiteral("Polizza furto e danni smartphone 12 mesi"),
                           QStringLiteral("PZ"),
                           0,
                           1,
                           *core::Money::parse(QStringLiteral("89")),
                           true,
                           QStringLiteral("ESENTE ART.10")});
    documents::InvoiceFields fields = invoice.fields();
    fields.tipoPagamento =
        db.scalar(QStringLiteral("SELECT Descrizione FROM pagamenti WHERE NrRate = 3 ORDER BY id LIMIT 1"))
            .toString();
    fields.vettore = QStringLiteral("Corriere Espresso Srl");
    fields.aspetto = QStringLiteral("Scatola");
    fields.peso = QStringLiteral("1,2 kg");
    fields.noteMemo = QStringLiteral("Merce consegnata in negozio.");
    invoice.setFields(fields);
    if (!fields.tipoPagamento.isEmpty())
        invoice.assignInstalments();
    const std::pair<int, const char*> pages[] = {{0, "/TFatturaImmediata.png"},
                                                 {2, "/TFatturaImmediata-Pagamento.png"},
                                                 {3, "/TFatturaImmediata-Trasporto.png"}};
    for (const auto& [page, file] : pages) {
        window.pages()->setCurrentIndex(page);
        failures += !save(&window, output + QLatin1String(file));
    }
    {
        std::unique_ptr<documents::QuantityEntry> entry = invoice.entryFor(demoItem(db, "SMP-65128"));
        ui::TDialogoScaricoFattDdt dialog(environment.dialogs, *entry);
        failures += !save(&dialog, output + QStringLiteral("/TDialogoScaricoFattDdt.png"));
        std::unique_ptr<documents::QuantityEntry> plain = invoice.entryFor(demoItem(db, "CAR-20W"));
        ui::TDialogoScaricoFattDdt plainDialog(environment.dialogs, *plain);
        failures += !save(&plainDialog, output + QStringLiteral("/TDialogoScaricoFattDdt-Quantita.png"));
    }
    ui::Tinsmanuale manual(environment.dialogs, documents::zeroRateCodes(db));
    manual.fill({QString(),
                 QStringLiteral("Sostituzione vetro display"),
                 QStringLiteral("PZ"),
                 22,
                 QStringLiteral("1"),
                 QStringLiteral("49,90"),
                 true,
                 {}});
    failures += !save(&manual, output + QStringLiteral("/Tinsmanuale.png"));
    ui::Tinsmanuale exempt(environment.dialogs, documents::zeroRateCodes(db));
    exempt.fill({QString(), QStringLiteral("Polizza furto e danni smartphone 12 mesi"), QStringLiteral("PZ"),
                 0, QStringLiteral("1"), QStringLiteral("89,00"), true, QStringLiteral("ESENTE ART.10")});
    failures += !save(&exempt, output + QStringLiteral("/Tinsmanuale-Esente.png"));
    // The PDF needs the invoice templates; without them the windows above are still saved.
    try {
        if (invoice.save())
            QFile::copy(invoice.createPdf(), output + QStringLiteral("/Fattura.pdf"));
    } catch (const std::exception& e) {
        QTextStream(stderr) << "Fattura: " << e.what() << '\n';
    }
    return failures;
}

// The keyboard till with a sale rung up: a few demo items scanned, then its "Cassa" page paid in
// cash, its item search and its customers.
// The electronic invoice data: the settings page, the VAT natures, the payment and withholding codes
// and a company customer's recipient.
int saveEInvoiceDataWindows(ui::WindowEnvironment& environment, const QString& output)
{
    int failures = 0;
    core::Db& db = environment.connections.company();
    db.exec(
        QStringLiteral("UPDATE fatturapa_configurazione SET Provincia = 'MI', REAUfficio = 'MI', REANumero = "
                       "'1987654', REACapitale = 10000, REASocioUnico = 'SU', CodFiscTrasmittente = "
                       "'01234567897'"));
    db.exec(
        QStringLiteral("UPDATE iva SET Natura = 'N2.2', RiferimentoNormativo = 'Art. 1 c. 54-89 L. 190/2014' "
                       "WHERE Iva = 0 AND Natura IS NULL"));
    ui::TConfig settings(environment, db);
    QTabWidget* pages = settings.pages();
    pages->setCurrentIndex(pages->count() - 1);
    failures += !save(&settings, output + QStringLiteral("/TConfig-FatturazioneElettronica.png"));
    pages->setCurrentIndex(4);
    failures += !save(&settings, output + QStringLiteral("/TConfig-Contabilita.png"));
    pages->setCurrentIndex(0);
    if (auto* general = qobject_cast<QTabWidget*>(pages->widget(0))) {
        general->setCurrentIndex(3);
        failures += !save(&settings, output + QStringLiteral("/TConfig-AliquoteIva.png"));
    }
    settings.reject();

    const int customer =
        db.scalar(QStringLiteral("SELECT MIN(idCliente) FROM clienti WHERE TRIM(IFNULL(pIva, '')) "
                                 "<> ''"))
            .toInt();
    if (customer > 0) {
        db.exec(QStringLiteral("UPDATE clienti SET TipoCliente = 'AZ', CodiceDestinatario = 'M5UXCR1', PEC = "
                               "'amministrazione@pec.esempio.it' WHERE idCliente = :ID"),
                {{QStringLiteral("ID"), customer}});
        ui::TCliente card(environment, {QStringLiteral("TCliente"), customer});
        failures += !save(&card, output + QStringLiteral("/TCliente-FatturaElettronica.png"));
    }
    return failures;
}

int saveTillWindows(ui::WindowEnvironment& environment, const QString& output)
{
    core::Db& db = environment.connections.company();
    ui::TPosClassic till(environment);
    for (const char* code : {"SMP-65128", "COV-SIL", "CAR-20W", "COV-SIL"})
        till.logic().addByBarcode(
            db.scalar(QStringLiteral("SELECT BarcodeFull FROM articoli WHERE CodArticolo = "
                                     ":CODICE"),
                      {{QStringLiteral("CODICE"), QString::fromLatin1(code)}})
                .toString());
    int failures = !save(&till, output + QStringLiteral("/TPosClassic.png"));
    till.logic().goToCash();
    till.logic().choosePayment(0);
    till.logic().pressBanknote(14);
    failures += !save(&till, output + QStringLiteral("/TPosClassic-Cassa.png"));
    till.logic().showItems();
    till.logic().findItems({}, {});
    failures += !save(&till, output + QStringLiteral("/TPosClassic-Articoli.png"));
    till.logic().showCustomers();
    till.logic().allCustomers();
    failures += !save(&till, output + QStringLiteral("/TPosClassic-Clienti.png"));
    // The sale closed with "Fattura" for a customer made on the customer card: the invoice list shows it.
    registry::Cliente customer(db, environment.dialogs);
    customer.openNew();
    customer.setValue(QStringLiteral("RagioneSociale"), QStringLiteral("Ferretti Impianti Srl"));
    customer.setValue(QStringLiteral("Indirizzo"), QStringLiteral("Via Garibaldi 14"));
    customer.setValue(QStringLiteral("Citta"), QStringLiteral("Bologna"));
    customer.setValue(QStringLiteral("Listino"), QStringLiteral("LISTINO1"));
    customer.save();
    till.logic().chooseCustomer(customer.id());
    till.logic().close(pos::ClosingKind::Invoice);
    ui::TFatture invoices(environment, {QStringLiteral("TFatture")});
    failures += !save(&invoices, output + QStringLiteral("/TFatture.png"));
    till.reject(); // the next sale is not kept
    return failures;
}

// A phone's life for the serial windows to show: one of the demo's phones sold on an invoice, and a
// lot of SIM cards, written through the program's own commands.
const QString DemoLot = QStringLiteral("LOTTO-2026-001");

QString prepareSerialStory(core::Db& db, const core::Session& session, core::Dialogs& dialogs)
{
    const core::Row item =
        db.query(
              QStringLiteral("SELECT ID, CodArticolo, Descrizione, BarcodeFull FROM articoli WHERE ID = :ID"),
              {{QStringLiteral("ID"), demoItem(db, "SMP-65128")}})
            .first();
    const stock::SerialItem phone{item["ID"].toInt(), item["CodArticolo"].toString(),
                                  item["Descrizione"].toString(), item["BarcodeFull"].toString()};
    const QString sold = db.scalar(QStringLiteral("SELECT MIN(Seriale) FROM seriali WHERE idArticolo = :ID"),
                                   {{QStringLiteral("ID"), phone.itemId}})
                             .toString();
    const stock::SerialActor actor = stock::actorOf(session);
    stock::LoadSerialCapture load(db, dialogs, 0, 0, phone, actor);
    load.addLot(DemoLot, QStringLiteral("SIM0001"), 5);
    stock::SerialSales(db, actor).sell(
        phone.itemId, sold,
        {QStringLiteral("Fattura"), 1, QStringLiteral("1"), 0, QStringLiteral("ROSSI MARIO")});
    return sold;
}

// The mail window as an invoice fills it.
QVariantMap invoiceMail(const core::Paths& paths)
{
    messaging::MailMessage mail;
    mail.from = QStringLiteral("negozio@telefoniarossi.it");
    mail.to = QStringLiteral("mario.rossi@esempio.it");
    mail.subject = QStringLiteral("Fattura Nr. 12 del 05/12/2026");
    mail.body = QStringList{QStringLiteral("Spett.le ROSSI MARIO"),
                            QString(),
                            QString(),
                            QStringLiteral("Alleghiamo alla presente il documento in oggetto."),
                            QStringLiteral("Con l'occasione, porgiamo distinti saluti."),
                            QString(),
                            QString(),
                            QStringLiteral("Telefonia Rossi - Via Roma 1, Milano")};
    mail.attachment = paths.dataDir() + QStringLiteral("/documenti/Fatture/Fattura_Nr.12.pdf");
    return mail.toValues();
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
        core::Db& db = connections.company();
        const QString soldSerial = prepareSerialStory(db, session, dialogs);
        // Withholding types a professional's invoice chooses from.
        db.exec(
            QStringLiteral("INSERT INTO ritenute_acconto (codice, descrizione, causale, percentuale) VALUES "
                           "('A', 'Prestazioni di lavoro autonomo', 'A', 20), "
                           "('Q', 'Provvigioni agenti monomandatari', 'Q', 11.5), "
                           "('R', 'Provvigioni agenti plurimandatari', 'R', 4.6)"));
        const int sweatshirt = demoItem(db, "FEL-CAP");
        const int gridRow = db.scalar(QStringLiteral("SELECT MIN(id) FROM disptc WHERE idarticolo = :ID"),
                                      {{QStringLiteral("ID"), sweatshirt}})
                                .toInt();
        for (const QString& name : registry.names()) {
            if (name == u"TAzienda" || name == u"TPosClassic" || name == u"TFatturaImmediata")
                continue;
            core::NavigationRequest request{name, {}, QStringLiteral("carvendo-screenshots"), {}};
            if (name == u"TAziendaAnagrafica")
                request = {name, company, request.caller, {{QStringLiteral("mode"), QStringLiteral("view")}}};
            if (name == u"TArticolo" || name.startsWith(u"TAnagraficaArticolo"))
                request.key = demoItem(db, "SMP-65128");
            if (name == u"TSeriali")
                request.key = soldSerial;
            if (name == u"TPagamento")
                request.key =
                    db.scalar(QStringLiteral("SELECT MIN(id) FROM pagamenti WHERE NrRate = 3")).toInt();
            if (name == u"TLotti")
                request.key = DemoLot;
            if (name == u"TDisponibilitaTC" || name == u"TScaricoTC")
                request = {name,
                           sweatshirt,
                           request.caller,
                           {{QStringLiteral("tipodoc"), QStringLiteral("Fattura")}}};
            if (name == u"TMailForm")
                request.values = invoiceMail(paths);
            if (name == u"TTCEdit")
                request = {name, gridRow, request.caller, {{QStringLiteral("taglia"), 3}}};
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
        failures += saveInvoiceWindows(environment, output);
        failures += saveTillWindows(environment, output);
        failures += saveEInvoiceDataWindows(environment, output);
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
