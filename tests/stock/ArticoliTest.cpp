#include "stock/Articoli.h"
#include "stock/ArticoliPreleva.h"

#include "core/Db.h"
#include "core/Paths.h"
#include "core/Session.h"
#include "tests/stock/StockSuite.h"
#include "tests/support/Login.h"
#include "tests/support/RecordingNavigator.h"
#include "tests/support/RecordingReportOutput.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace carvendo;
namespace ct = carvendo::testing;
using ct::DialogEvent;

namespace {

class ArticoliTest : public ct::StockSuite<ArticoliTest>
{
protected:
    void SetUp() override
    {
        emptyTables({"articoli", "giacenze", "venduti", "acquisti", "dettreso", "magazzini", "reparti"});
        db().exec(QStringLiteral(
            "INSERT INTO magazzini (idMagazzino, Descrizione) VALUES (1, 'NEGOZIO'), (2, 'DEPOSITO')"));
        logIn(true);
    }

    // The statement with :A bound to the item.
    static int count(const char* sql, int item)
    {
        return StockSuite::count(QString::fromUtf8(sql), {{"A", item}});
    }

    void logIn(bool mayDelete)
    {
        if (mayDelete)
            ct::logIn(m_session, {core::Privilege::Magazzino, core::Privilege::Cancellazione}, m_negozio);
        else
            ct::logIn(m_session, {core::Privilege::Magazzino}, m_negozio);
    }

    int addItem(const QString& description, double giacenza = 0)
    {
        const int id = StockSuite::addItem(description, {{"Pubblico", 9.9}});
        addStock(id, m_negozio, giacenza);
        return id;
    }

    const core::Warehouse m_negozio{1, QStringLiteral("NEGOZIO")};
    QTemporaryDir m_dir;
    core::Paths m_paths{m_dir.path(), m_dir.path()};
    core::Session m_session;
    ct::ScriptedDialogs m_dialogs;
    ct::RecordingNavigator m_navigator;
    stock::Articoli m_list{company().db(), m_session, m_paths, m_dialogs, m_navigator};
};

TEST_F(ArticoliTest, AllineaAsksFirstAndRealignsOnYes)
{
    const int item = addItem(QStringLiteral("AURICOLARE"));
    m_list.open();
    addMovement("acquisti", item, 1, 5);

    m_dialogs.answerConfirm(false);
    EXPECT_FALSE(m_list.realignCurrent());
    EXPECT_EQ(stockOf(item, 1), 0.0);

    m_dialogs.answerConfirm(true);
    EXPECT_TRUE(m_list.realignCurrent());
    EXPECT_EQ(stockOf(item, 1), 5.0);

    EXPECT_EQ(
        m_dialogs.texts(DialogEvent::Kind::Confirm),
        QStringList(
            2, QStringLiteral("Attenzione! La Giacenza e la Disponibilità verranno riallineatein base alla "
                              "differenza tra il caricato e il venduto dell'articolo selezionato, vuoi "
                              "allineare adesso? ")));
}

TEST_F(ArticoliTest, DeleteNeedsThePrivilegeAndTheAnswerAndKeepsTheHistory)
{
    const int item = addItem(QStringLiteral("AURICOLARE"));
    logIn(false);
    m_list.open();
    EXPECT_FALSE(m_list.deleteCurrent());
    EXPECT_EQ(m_dialogs.messages(),
              QStringList{QStringLiteral("Non possiedi i privilegi per eseguire questa operazione")});

    logIn(true);
    m_dialogs.answerConfirm(false);
    EXPECT_FALSE(m_list.deleteCurrent());
    EXPECT_EQ(m_dialogs.texts(DialogEvent::Kind::Confirm),
              QStringList{QStringLiteral("Eliminare l'articolo selezionato?")});
    EXPECT_EQ(count("SELECT COUNT(*) FROM articoli WHERE ID = :A", item), 1);

    // Yes: the item goes with its stock rows, its history stays.
    const int first = item;
    const int second = addItem(QStringLiteral("B SECONDO"));
    addMovement("venduti", first, 1, 2);
    m_list.open();
    m_dialogs.answerConfirm(true);
    EXPECT_TRUE(m_list.deleteCurrent());

    EXPECT_EQ(count("SELECT COUNT(*) FROM articoli WHERE ID = :A", first), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM giacenze WHERE idarticolo = :A", first), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM venduti WHERE idArticolo = :A", first), 1);
    EXPECT_EQ(m_list.currentItem(), second);
}

TEST_F(ArticoliTest, NewItemSavedIsShownAndCancelledLeavesNothing)
{
    addItem(QStringLiteral("AURICOLARE"));
    m_list.open();

    m_navigator.whenOpened(QStringLiteral("TArticolo"), [&](const core::NavigationRequest& request) {
        db().exec(QStringLiteral("UPDATE articoli SET Descrizione = 'NUOVO' WHERE ID = :A"),
                  {{QStringLiteral("A"), request.key}});
        return core::NavigationResult{true, request.key, {}};
    });
    const int saved = m_list.newItem();
    ASSERT_GT(saved, 0);
    EXPECT_TRUE(
        m_navigator.lastRequest(QStringLiteral("TArticolo")).values.value(QStringLiteral("nuovo")).toBool());
    EXPECT_EQ(m_list.currentItem(), saved);

    m_navigator.whenOpened(QStringLiteral("TArticolo"),
                           [](const core::NavigationRequest&) { return core::NavigationResult{}; });
    EXPECT_EQ(m_list.newItem(), 0);
    EXPECT_EQ(StockSuite::count(QStringLiteral("SELECT COUNT(*) FROM articoli")), 2);
    EXPECT_EQ(StockSuite::count(QStringLiteral("SELECT COUNT(*) FROM giacenze")), 2);
}

TEST_F(ArticoliTest, SerialNotInTheWarehouseIsToldAndEmptiesTheList)
{
    addItem(QStringLiteral("AURICOLARE"));
    m_list.open();
    EXPECT_FALSE(m_list.findSerial(QStringLiteral("NONC'E")));
    EXPECT_EQ(m_dialogs.messages(),
              QStringList{QStringLiteral("Seriale non trovato nel magazzino selezionato!")});
    EXPECT_EQ(m_list.currentItem(), 0);
}

TEST_F(ArticoliTest, ExportHoldsTheItemsOfTheSearchWrittenBehindTheProgressBar)
{
    const int item = addItem(QStringLiteral("AURICOLARE"), 3);
    addMovement("acquisti", item, 1, 3);
    addItem(QStringLiteral("CARICABATTERIE"));
    m_list.open();

    // As the window runs it: behind the progress bar, on a connection of its own, the same search.
    m_list.find(stock::ItemField::Descrizione, stock::MatchMode::StartsWith, QStringLiteral("CARICA"));
    QStringList labels;
    m_list.runExportsWith(company().settings(), [&labels](const QString& label, const core::LongJob& job) {
        labels << label;
        job([](int) {});
    });
    const QString path = m_dir.filePath(QStringLiteral("ricerca.txt"));
    m_dialogs.answerFile(path);
    ASSERT_TRUE(m_list.exportGrid(gridexport::ExportFormat::Text));
    EXPECT_EQ(labels, QStringList{QStringLiteral("Esportazione articoli in corso...")});
    EXPECT_EQ(m_dialogs.messages(), QStringList{QStringLiteral("Esportazione avvenuta con successo!")});
    const QByteArray written = ct::readFile(path);
    EXPECT_TRUE(written.contains(";CARICABATTERIE;"));
    EXPECT_FALSE(written.contains("AURICOLARE")) << "only the items of the search";
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
    EXPECT_EQ(shown.request.datasets.at(QStringLiteral("articoli")).size(), 2);

    // The same request on paper holds the items and the warehouse.
    const QString pdf = m_dir.filePath(QStringLiteral("articoli.pdf"));
    reports.exportPdf(shown.request, pdf);
    const QString text = ct::pdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("AURICOLARE"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("NEGOZIO")));

    // A search that found nothing prints nothing.
    m_list.find(stock::ItemField::Descrizione, stock::MatchMode::Exact, QStringLiteral("NESSUNO"));
    EXPECT_FALSE(m_list.printList(reports));
    EXPECT_EQ(m_dialogs.messages().last(), QStringLiteral("Nessun articolo da stampare"));
    EXPECT_EQ(reports.requests().size(), 2u) << "the preview and the PDF above, nothing more";
}

// ---- the picker ----

TEST_F(ArticoliTest, PickerRefusesAnUnknownCallerAndAGoneItem)
{
    const int item = addItem(QStringLiteral("DISPLAY IPHONE"));
    stock::ArticoliPreleva unknown(QStringLiteral("POS"), db(), m_session, m_paths, m_dialogs, m_navigator);
    unknown.list().open();
    EXPECT_FALSE(unknown.confirm());
    EXPECT_FALSE(unknown.result().accepted);
    stock::ArticoliPreleva picker(QStringLiteral("CANTIERE"), db(), m_session, m_paths, m_dialogs,
                                  m_navigator);
    picker.list().open();
    db().exec(QStringLiteral("DELETE FROM articoli WHERE ID = :A"), {{"A", item}});
    EXPECT_FALSE(picker.confirm());
    EXPECT_EQ(m_dialogs.messages(),
              (QStringList{QStringLiteral("Questa finestra non può consegnare l'articolo a \"POS\"."),
                           QStringLiteral("L'articolo scelto non esiste più: aggiornare l'elenco.")}));
}

} // namespace
