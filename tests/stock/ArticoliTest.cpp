#include "Articoli.h"
#include "ArticoliPreleva.h"

#include "Db.h"
#include "Paths.h"
#include "RecordingNavigator.h"
#include "RecordingReportOutput.h"
#include "ScriptedDialogs.h"
#include "Session.h"
#include "TestDatabase.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

using namespace carvendo;
namespace ct = carvendo::testing;
using ct::DialogEvent;

namespace {

class ArticoliTest : public ct::CompanySuite<ArticoliTest>
{
protected:
    void SetUp() override
    {
        emptyTables({"articoli", "giacenze", "venduti", "acquisti", "dettreso", "magazzini", "reparti"});
        db().exec(QStringLiteral("INSERT INTO magazzini (idMagazzino, Descrizione) VALUES (1, 'NEGOZIO'), (2, 'DEPOSITO')"));
        logIn(true);
    }

    int count(const QString& sql, const core::Params& params = {}) { return db().scalar(sql, params).toInt(); }

    void logIn(bool mayDelete)
    {
        core::Privileges privileges;
        privileges.set(core::Privilege::Magazzino, true);
        privileges.set(core::Privilege::Cancellazione, mayDelete);
        m_session.logIn(core::Operator{}, core::Warehouse{1, QStringLiteral("NEGOZIO")}, privileges);
    }

    int addItem(const QString& description, double giacenza = 0)
    {
        db().exec(QStringLiteral("INSERT INTO articoli (Descrizione, CodArticolo, Pubblico) VALUES (:D, :D, 9.9)"),
                  {{QStringLiteral("D"), description}});
        const int id = int(db().lastInsertId());
        db().exec(QStringLiteral("INSERT INTO giacenze (idarticolo, idmagazzino, magazzino, giacenza, disponibilita) "
                                 "VALUES (:A, 1, 'NEGOZIO', :G, :G)"),
                  {{QStringLiteral("A"), id}, {QStringLiteral("G"), giacenza}});
        return id;
    }

    double stockIn(int item, int warehouse)
    {
        return db().scalar(QStringLiteral("SELECT giacenza FROM giacenze WHERE idarticolo = :A AND idmagazzino = :M"),
                           {{QStringLiteral("A"), item}, {QStringLiteral("M"), warehouse}})
            .toDouble();
    }

    QTemporaryDir m_dir;
    core::Paths m_paths{m_dir.path(), m_dir.path()};
    core::Session m_session;
    ct::ScriptedDialogs m_dialogs;
    ct::RecordingNavigator m_navigator;
    stock::Articoli m_list{company().db(), m_session, m_paths, m_dialogs, m_navigator};
};

TEST_F(ArticoliTest, OpensOnTheFirstItemAndRealignsItsStock)
{
    const int item = addItem(QStringLiteral("AURICOLARE"), 10);
    db().exec(QStringLiteral("INSERT INTO acquisti (idarticolo, idMagazzino, quantita) VALUES (:A, 1, 10)"),
              {{QStringLiteral("A"), item}});
    db().exec(QStringLiteral("INSERT INTO venduti (idArticolo, idMagazzino, quantita) VALUES (:A, 1, 4)"),
              {{QStringLiteral("A"), item}});
    db().exec(QStringLiteral("INSERT INTO dettreso (idarticolo, idmagazzino, quantita) VALUES (:A, 1, 1)"),
              {{QStringLiteral("A"), item}});

    m_list.open();

    EXPECT_EQ(m_list.currentItem(), item);
    EXPECT_EQ(m_list.warehouse().name, QStringLiteral("NEGOZIO"));
    const stock::CurrentStock& shown = m_list.currentStock();
    EXPECT_TRUE(shown.realigned);
    EXPECT_EQ(shown.figures, (stock::StockFigures{10, 4, 1}));
    EXPECT_TRUE(shown.hasRow);
    EXPECT_EQ(shown.giacenza, 7.0);
    EXPECT_EQ(shown.disponibilita, 7.0);
    EXPECT_EQ(stockIn(item, 1), 7.0);
}

TEST_F(ArticoliTest, AllineaAsksFirstAndRealignsOnYes)
{
    const int item = addItem(QStringLiteral("AURICOLARE"));
    m_list.open();
    db().exec(QStringLiteral("INSERT INTO acquisti (idarticolo, idMagazzino, quantita) VALUES (:A, 1, 5)"),
              {{QStringLiteral("A"), item}});

    m_dialogs.answerConfirm(false);
    EXPECT_FALSE(m_list.realignCurrent());
    EXPECT_EQ(stockIn(item, 1), 0.0);

    m_dialogs.answerConfirm(true);
    EXPECT_TRUE(m_list.realignCurrent());
    EXPECT_EQ(stockIn(item, 1), 5.0);
    EXPECT_EQ(m_list.currentStock().giacenza, 5.0);
    EXPECT_EQ(m_list.currentStock().figures.caricato, 5);

    EXPECT_EQ(m_dialogs.texts(DialogEvent::Kind::Confirm),
              QStringList(2, QStringLiteral("Attenzione! La Giacenza e la Disponibilità verranno riallineatein base alla "
                                            "differenza tra il caricato e il venduto dell'articolo selezionato, vuoi "
                                            "allineare adesso? ")));
}

TEST_F(ArticoliTest, WarehouseSelectorShowsAndRealignsThatWarehouse)
{
    const int item = addItem(QStringLiteral("AURICOLARE"));
    db().exec(QStringLiteral("INSERT INTO acquisti (idarticolo, idMagazzino, quantita) VALUES (:A, 2, 3)"),
              {{QStringLiteral("A"), item}});
    m_list.open();
    EXPECT_EQ(m_list.warehouses().size(), 2);

    m_list.setWarehouse(core::Warehouse{2, QStringLiteral("DEPOSITO")});

    EXPECT_EQ(m_list.currentItem(), item);
    EXPECT_EQ(stockIn(item, 2), 3.0);
    EXPECT_EQ(m_list.rows().value(0, "Giacenza").toDouble(), 3.0);
    EXPECT_EQ(m_list.currentStock().giacenza, 3.0);
}

TEST_F(ArticoliTest, DeleteNeedsThePrivilegeAndTheAnswer)
{
    const int item = addItem(QStringLiteral("AURICOLARE"));
    logIn(false);
    m_list.open();
    EXPECT_FALSE(m_list.deleteCurrent());
    EXPECT_EQ(m_dialogs.messages(), QStringList{QStringLiteral("Non possiedi i privilegi per eseguire questa operazione")});

    logIn(true);
    m_dialogs.answerConfirm(false);
    EXPECT_FALSE(m_list.deleteCurrent());
    EXPECT_EQ(m_dialogs.texts(DialogEvent::Kind::Confirm), QStringList{QStringLiteral("Eliminare l'articolo selezionato?")});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM articoli WHERE ID = :A"), {{QStringLiteral("A"), item}}), 1);
}

TEST_F(ArticoliTest, DeletingAnItemWithHistorySucceedsAndKeepsTheHistory)
{
    const int first = addItem(QStringLiteral("A PRIMO"));
    const int second = addItem(QStringLiteral("B SECONDO"));
    db().exec(QStringLiteral("INSERT INTO venduti (idArticolo, idMagazzino, quantita) VALUES (:A, 1, 2)"),
              {{QStringLiteral("A"), first}});
    m_list.open();
    ASSERT_EQ(m_list.currentItem(), first);

    m_dialogs.answerConfirm(true);
    EXPECT_TRUE(m_list.deleteCurrent());

    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM articoli WHERE ID = :A"), {{QStringLiteral("A"), first}}), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM giacenze WHERE idarticolo = :A"), {{QStringLiteral("A"), first}}), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM venduti WHERE idArticolo = :A"), {{QStringLiteral("A"), first}}), 1);
    EXPECT_EQ(m_list.rows().size(), 1);
    EXPECT_EQ(m_list.currentItem(), second);
}

TEST_F(ArticoliTest, DuplicateCopiesTheItemWithAStockRowAndShowsTheCopy)
{
    const int item = addItem(QStringLiteral("AURICOLARE"), 4);
    m_list.open();

    m_dialogs.answerConfirm(false);
    EXPECT_EQ(m_list.duplicateCurrent(), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM articoli")), 1);

    m_dialogs.answerConfirm(true);
    const int copy = m_list.duplicateCurrent();
    ASSERT_GT(copy, item);
    EXPECT_EQ(m_dialogs.texts(DialogEvent::Kind::Confirm),
              QStringList(2, QStringLiteral("Vuoi duplicare l'articolo selezionato?")));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT Descrizione FROM articoli WHERE ID = :A"), {{QStringLiteral("A"), copy}})
                  .toString(),
              QStringLiteral("AURICOLARE"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM giacenze WHERE idarticolo = :A AND idmagazzino = 1"),
                    {{QStringLiteral("A"), copy}}),
              1);
    EXPECT_EQ(m_list.rows().size(), 2);
    EXPECT_EQ(m_list.currentItem(), copy);
}

TEST_F(ArticoliTest, NewItemSavedIsShownAndCancelledLeavesNothing)
{
    db().exec(QStringLiteral("INSERT INTO reparti (reparto, descrizione, aliquota) VALUES ('1', 'TELEFONIA', 22)"));
    addItem(QStringLiteral("AURICOLARE"));
    m_list.open();

    m_navigator.whenOpened(QStringLiteral("TArticolo"), [&](const core::NavigationRequest& request) {
        db().exec(QStringLiteral("UPDATE articoli SET Descrizione = 'NUOVO' WHERE ID = :A"),
                  {{QStringLiteral("A"), request.key}});
        return core::NavigationResult{true, request.key, {}};
    });
    const int saved = m_list.newItem();
    ASSERT_GT(saved, 0);
    const core::NavigationRequest card = m_navigator.lastRequest(QStringLiteral("TArticolo"));
    EXPECT_EQ(card.key.toInt(), saved);
    EXPECT_EQ(card.caller, QStringLiteral("TArticoli"));
    EXPECT_TRUE(card.values.value(QStringLiteral("nuovo")).toBool());
    EXPECT_EQ(m_list.rows().size(), 1);
    EXPECT_EQ(m_list.currentItem(), saved);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT Aliquota FROM articoli WHERE ID = :A"), {{QStringLiteral("A"), saved}})
                  .toInt(),
              22);

    m_navigator.whenOpened(QStringLiteral("TArticolo"), [](const core::NavigationRequest&) {
        return core::NavigationResult{};
    });
    EXPECT_EQ(m_list.newItem(), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM articoli")), 2);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM giacenze")), 2);
    EXPECT_TRUE(m_list.rows().isEmpty());
    EXPECT_EQ(m_list.currentItem(), 0);
}

TEST_F(ArticoliTest, ModifyOpensTheCardOnTheCurrentItemAndRereads)
{
    const int item = addItem(QStringLiteral("AURICOLARE"));
    m_list.open();
    m_navigator.whenOpened(QStringLiteral("TArticolo"), [&](const core::NavigationRequest& request) {
        db().exec(QStringLiteral("UPDATE articoli SET Descrizione = 'AURICOLARE BT' WHERE ID = :A"),
                  {{QStringLiteral("A"), request.key}});
        return core::NavigationResult{true, request.key, {}};
    });
    EXPECT_TRUE(m_list.modifyCurrent());
    EXPECT_EQ(m_navigator.lastRequest(QStringLiteral("TArticolo")).key.toInt(), item);
    EXPECT_FALSE(m_navigator.lastRequest(QStringLiteral("TArticolo")).values.value(QStringLiteral("nuovo")).toBool());
    EXPECT_EQ(m_list.rows().value(0, "Descrizione").toString(), QStringLiteral("AURICOLARE BT"));
    EXPECT_EQ(m_list.currentItem(), item);
}

TEST_F(ArticoliTest, SerialNotInTheWarehouseIsToldAndEmptiesTheList)
{
    addItem(QStringLiteral("AURICOLARE"));
    m_list.open();
    EXPECT_FALSE(m_list.findSerial(QStringLiteral("NONC'E")));
    EXPECT_EQ(m_dialogs.messages(), QStringList{QStringLiteral("Seriale non trovato nel magazzino selezionato!")});
    EXPECT_TRUE(m_list.rows().isEmpty());
    EXPECT_EQ(m_list.currentItem(), 0);
}

TEST_F(ArticoliTest, AdvancedSearchShowsWhatTheWindowFound)
{
    addItem(QStringLiteral("AURICOLARE"));
    const int book = addItem(QStringLiteral("IL CANE DI TERRACOTTA"));
    db().exec(QStringLiteral("UPDATE articoli SET autore = 'CAMILLERI' WHERE ID = :A"), {{QStringLiteral("A"), book}});
    m_list.open();
    m_navigator.returnFrom(QStringLiteral("TRicercaAvanzata"),
                           {true, {}, {{QStringLiteral("attributo"), QStringLiteral("autore")},
                                       {QStringLiteral("valore"), QStringLiteral("CAMILLERI")}}});
    EXPECT_TRUE(m_list.advancedSearch());
    EXPECT_EQ(m_list.rows().size(), 1);
    EXPECT_EQ(m_list.currentItem(), book);

    EXPECT_FALSE(m_list.advancedSearch()); // closed without a choice: the list stays
    EXPECT_EQ(m_list.currentItem(), book);
}

TEST_F(ArticoliTest, ExportsAreWrittenAndReadBack)
{
    const int item = addItem(QStringLiteral("AURICOLARE"), 3);
    db().exec(QStringLiteral("INSERT INTO acquisti (idarticolo, idMagazzino, quantita) VALUES (:A, 1, 3)"),
              {{QStringLiteral("A"), item}});
    addItem(QStringLiteral("CARICABATTERIE"));
    m_list.open();
    struct Case
    {
        core::ExportFormat format;
        const char* file;
        QByteArray mustHold;
    };
    const Case cases[] = {
        {core::ExportFormat::Text, "articoli.txt", "CARICABATTERIE"},
        {core::ExportFormat::Html, "articoli.html", "<td>AURICOLARE</td>"},
        {core::ExportFormat::Xml, "articoli.xml", "CARICABATTERIE"},
        {core::ExportFormat::Excel, "articoli.xlsx", "PK"},
    };
    for (const Case& c : cases) {
        m_dialogs.clear();
        const QString path = m_dir.filePath(QString::fromLatin1(c.file));
        m_dialogs.answerFile(path);
        ASSERT_TRUE(m_list.exportGrid(c.format)) << c.file;
        EXPECT_EQ(m_dialogs.messages(), QStringList{QStringLiteral("Esportazione avvenuta con successo!")});
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << c.file;
        EXPECT_TRUE(file.readAll().contains(c.mustHold)) << c.file;
    }
    QFile text(m_dir.filePath(QStringLiteral("articoli.txt")));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = text.readAll().split('\n');
    EXPECT_TRUE(lines.at(0).startsWith("ID;Codice;Barcode;Descrizione;"));
    EXPECT_TRUE(lines.at(1).contains(";AURICOLARE;"));
    EXPECT_TRUE(lines.at(1).trimmed().endsWith(";3;3"));

    m_dialogs.clear();
    m_dialogs.answerCancel();
    EXPECT_FALSE(m_list.exportGrid(core::ExportFormat::Text));
    EXPECT_TRUE(m_dialogs.messages().isEmpty());

    // As the window runs it: behind the progress bar, on a connection of its own, the same search.
    m_list.find(stock::ItemField::Descrizione, stock::MatchMode::StartsWith, QStringLiteral("CARICA"));
    QStringList labels;
    m_list.runExportsWith(company().settings(), [&labels](const QString& label, const core::LongJob& job) {
        labels << label;
        job([](int) {});
    });
    const QString path = m_dir.filePath(QStringLiteral("ricerca.txt"));
    m_dialogs.answerFile(path);
    ASSERT_TRUE(m_list.exportGrid(core::ExportFormat::Text));
    EXPECT_EQ(labels, QStringList{QStringLiteral("Esportazione articoli in corso...")});
    QFile found(path);
    ASSERT_TRUE(found.open(QIODevice::ReadOnly));
    const QByteArray written = found.readAll();
    EXPECT_TRUE(written.contains(";CARICABATTERIE;"));
    EXPECT_FALSE(written.contains("AURICOLARE")) << "only the items of the search";
}

TEST_F(ArticoliTest, LayoutIsKeptInLayoutArticoli)
{
    EXPECT_TRUE(m_list.loadLayout().isEmpty());
    EXPECT_TRUE(m_list.saveLayout(QByteArray("stato della griglia")));
    EXPECT_TRUE(QFile::exists(m_paths.layoutFile(QStringLiteral("Articoli"))));
    EXPECT_TRUE(m_paths.layoutFile(QStringLiteral("Articoli")).endsWith(QStringLiteral("layoutArticoli")));
    EXPECT_EQ(m_list.loadLayout(), QByteArray("stato della griglia"));
}

TEST_F(ArticoliTest, PrintedListGoesToThePreviewWithTheWholeSearch)
{
    addItem(QStringLiteral("AURICOLARE"));
    addItem(QStringLiteral("CARICABATTERIE"));
    m_list.search().setPageSize(1);
    m_list.open();
    ct::RecordingReportOutput reports;
    EXPECT_TRUE(m_list.printList(reports));
    ASSERT_EQ(reports.requests().size(), 1u);
    const ct::RecordedReport shown = reports.last();
    EXPECT_EQ(shown.kind, ct::RecordedReport::Kind::Preview);
    EXPECT_EQ(shown.request.templateName, QStringLiteral("Articoli"));
    EXPECT_EQ(shown.request.datasets.at(QStringLiteral("articoli")).size(), 2);

    // The same request on paper holds the items and the warehouse.
    const QString pdf = m_dir.filePath(QStringLiteral("articoli.pdf"));
    reports.exportPdf(shown.request, pdf);
    const QString text = ct::pdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("AURICOLARE"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("CARICABATTERIE")));
    EXPECT_TRUE(text.contains(QStringLiteral("NEGOZIO")));
    EXPECT_TRUE(text.contains(QStringLiteral("9,90")));

    // A search that found nothing prints nothing.
    m_list.find(stock::ItemField::Descrizione, stock::MatchMode::Exact, QStringLiteral("NESSUNO"));
    EXPECT_FALSE(m_list.printList(reports));
    EXPECT_EQ(m_dialogs.messages().last(), QStringLiteral("Nessun articolo da stampare"));
    EXPECT_EQ(reports.requests().size(), 2u) << "the preview and the PDF above, nothing more";
}

// ---- the picker ----

TEST_F(ArticoliTest, PickerHandsEachCallerItsColumns)
{
    const int item = addItem(QStringLiteral("DISPLAY IPHONE"), 2);
    db().exec(QStringLiteral("UPDATE articoli SET BarcodeFull = '8005001002000', Aliquota = 22, PrezzoAcqnoiva = 40, "
                             "Fornitore = 'ROSSI SRL' WHERE ID = :A"),
              {{QStringLiteral("A"), item}});
    const QStringList callers = stock::ItemPickerContract::callers();
    EXPECT_EQ(callers, (QStringList{QStringLiteral("PREVENTIVO_CAT"), QStringLiteral("ARTICOLI_CAT"),
                                    QStringLiteral("CANTIERE"), QStringLiteral("FATTURA_I"),
                                    QStringLiteral("ORDINE_CECK"), QStringLiteral("CARICO")}));
    for (const QString& caller : callers) {
        stock::ArticoliPreleva picker(caller, db(), m_session, m_paths, m_dialogs, m_navigator);
        EXPECT_TRUE(picker.servesCaller());
        picker.list().open();
        ASSERT_TRUE(picker.confirm()) << caller.toStdString();
        const core::NavigationResult& result = picker.result();
        EXPECT_TRUE(result.accepted);
        EXPECT_EQ(result.value.toInt(), item);
        const QStringList columns = stock::ItemPickerContract::columns(caller);
        EXPECT_EQ(columns.first(), QStringLiteral("ID"));
        EXPECT_EQ(QStringList(result.values.keys()).size(), columns.size()) << caller.toStdString();
        for (const QString& column : columns)
            EXPECT_TRUE(result.values.contains(column)) << caller.toStdString() << " " << column.toStdString();
        EXPECT_EQ(result.values.value(QStringLiteral("Descrizione")).toString(), QStringLiteral("DISPLAY IPHONE"));
        EXPECT_EQ(result.values.value(QStringLiteral("CodArticolo")).toString(), QStringLiteral("DISPLAY IPHONE"));
    }
    EXPECT_TRUE(stock::ItemPickerContract::columns(QStringLiteral("FATTURA_I")).contains(QStringLiteral("Aliquota")));
    EXPECT_TRUE(stock::ItemPickerContract::columns(QStringLiteral("CARICO")).contains(QStringLiteral("PrezzoAcqnoiva")));
    EXPECT_TRUE(m_dialogs.messages().isEmpty());
}

TEST_F(ArticoliTest, PickerRefusesAnUnknownCaller)
{
    addItem(QStringLiteral("DISPLAY IPHONE"));
    stock::ArticoliPreleva picker(QStringLiteral("POS"), db(), m_session, m_paths, m_dialogs, m_navigator);
    EXPECT_FALSE(picker.servesCaller());
    picker.list().open();
    EXPECT_FALSE(picker.confirm());
    EXPECT_FALSE(picker.result().accepted);
    EXPECT_EQ(m_dialogs.messages(), QStringList{QStringLiteral("Questa finestra non può consegnare l'articolo a \"POS\".")});
}

TEST_F(ArticoliTest, PickerReadsTheStockWithoutRealigningAndOpensTheCardAsItself)
{
    const int item = addItem(QStringLiteral("DISPLAY IPHONE"), 6);
    db().exec(QStringLiteral("INSERT INTO acquisti (idarticolo, idMagazzino, quantita) VALUES (:A, 1, 1)"),
              {{QStringLiteral("A"), item}});
    stock::ArticoliPreleva picker(QStringLiteral("CARICO"), db(), m_session, m_paths, m_dialogs, m_navigator);
    picker.list().open();
    EXPECT_FALSE(picker.list().currentStock().realigned);
    EXPECT_EQ(picker.list().currentStock().giacenza, 6.0);
    EXPECT_EQ(stockIn(item, 1), 6.0);

    m_navigator.returnFrom(QStringLiteral("TArticolo"), {});
    EXPECT_EQ(picker.list().newItem(), 0);
    EXPECT_EQ(m_navigator.lastRequest(QStringLiteral("TArticolo")).caller, QStringLiteral("TArticoliPreleva"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM articoli")), 1);
}

TEST_F(ArticoliTest, PickerWithAGoneItemSaysSo)
{
    const int item = addItem(QStringLiteral("DISPLAY IPHONE"));
    stock::ArticoliPreleva picker(QStringLiteral("CANTIERE"), db(), m_session, m_paths, m_dialogs, m_navigator);
    picker.list().open();
    db().exec(QStringLiteral("DELETE FROM articoli WHERE ID = :A"), {{QStringLiteral("A"), item}});
    EXPECT_FALSE(picker.confirm());
    EXPECT_EQ(m_dialogs.messages(), QStringList{QStringLiteral("L'articolo scelto non esiste più: aggiornare l'elenco.")});
}

} // namespace
