#include "stock/Inventario.h"

#include "core/Db.h"
#include "core/Paths.h"
#include "stock/StockQuantity.h"
#include "tests/stock/StockSuite.h"
#include "tests/support/FixedClock.h"
#include "tests/support/RecordingReportOutput.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace carvendo;
namespace ct = carvendo::testing;
using stock::StockFilter;

namespace {

class InventarioTest : public ct::StockSuite<InventarioTest>
{
protected:
    void SetUp() override
    {
        emptyTables({"articoli", "giacenze", "magazzini", "acquisti", "inventario"});
        m_sede = addWarehouse(QStringLiteral("SEDE"));
        m_negozio = addWarehouse(QStringLiteral("NEGOZIO"));
    }

    // An item costing `acquisto` without VAT, with its three list prices.
    static int addItem(const QString& code, const QString& descrizione, double acquisto, double pubblico,
                       double listino2 = 0, double listino3 = 0)
    {
        return StockSuite::addItem(code, {{"Descrizione", descrizione},
                                          {"Fornitore", "TIM SPA"},
                                          {"PrezzoAcqnoiva", acquisto},
                                          {"Pubblico", pubblico},
                                          {"Listino2", listino2},
                                          {"Listino3", listino3},
                                          {"UM", "PZ"},
                                          {"UMVENDITA", "PZ"}});
    }

    void addPurchase(int item, double price, const QDateTime& when)
    {
        addMovement("acquisti", item, m_sede.id, 1, {{"prezzoacquisto", price}, {"Data", when}});
    }

    QStringList listed()
    {
        QStringList lines;
        for (const core::Row row : m_inventory.rows())
            lines.append(row["CODART"].toString() + QLatin1Char('@') + row["MAGAZZINO"].toString() +
                         QLatin1Char('=') + row["GIACENZA"].toString());
        return lines;
    }

    core::Warehouse m_sede;
    core::Warehouse m_negozio;
    QTemporaryDir m_dir;
    core::Paths m_paths{m_dir.path(), m_dir.path()};
    ct::FixedClock m_clock{QDateTime(QDate(2026, 12, 6), QTime(10, 0))};
    ct::ScriptedDialogs m_dialogs;
    ct::RecordingReportOutput m_reports;
    stock::Inventario m_inventory{company().db(), company().settings(), m_paths, m_clock, m_dialogs,
                                  m_reports,      core::runHere};
};

TEST_F(InventarioTest, StockFiltersChooseTheRows)
{
    const int phone = addItem(QStringLiteral("TEL"), QStringLiteral("Telefono"), 100, 150);
    addStock(phone, m_sede, 2);
    stock::unloadSoldQuantity(db(), phone, m_sede.id, 5); // sold 5 with 2 in stock
    const int cover = addItem(QStringLiteral("COV"), QStringLiteral("Cover"), 2, 10);
    addStock(cover, m_sede, 0);
    addStock(cover, m_negozio, 4);

    struct Case
    {
        StockFilter filter;
        QStringList expected;
    };
    const Case cases[] = {
        {StockFilter::Negative, {QStringLiteral("TEL@SEDE=-3")}},
        {StockFilter::Zero, {QStringLiteral("COV@SEDE=0")}},
        {StockFilter::Positive, {QStringLiteral("COV@NEGOZIO=4")}},
        {StockFilter::All,
         {QStringLiteral("COV@SEDE=0"), QStringLiteral("COV@NEGOZIO=4"), QStringLiteral("TEL@SEDE=-3")}},
    };
    for (const Case& c : cases) {
        m_inventory.options().filter = c.filter;
        ASSERT_TRUE(m_inventory.run());
        EXPECT_EQ(listed(), c.expected) << stock::stockFilterCaption(c.filter).toStdString();
    }
    m_inventory.options().idMagazzino = m_negozio.id;
    m_inventory.options().filter = StockFilter::All;
    ASSERT_TRUE(m_inventory.run());
    EXPECT_EQ(listed(), QStringList{QStringLiteral("COV@NEGOZIO=4")});
}

TEST_F(InventarioTest, RowsCarryThePricesAndTheTotalsValueTheStock)
{
    const int phone = addItem(QStringLiteral("TEL"), QStringLiteral("Telefono"), 100.5, 150, 140, 130.25);
    addStock(phone, m_sede, 2);
    addStock(phone, m_negozio, 1);
    addPurchase(phone, 90, QDateTime(QDate(2026, 1, 10), QTime(9, 0)));
    addPurchase(phone, 110, QDateTime(QDate(2026, 6, 10), QTime(9, 0)));
    const int cover = addItem(QStringLiteral("COV"), QStringLiteral("Cover"), 2.2, 9.9);
    addStock(cover, m_sede, 10);
    db().exec(QStringLiteral("UPDATE giacenze SET disponibilita = 7 WHERE idarticolo = :A"),
              {{QStringLiteral("A"), cover}});

    ASSERT_TRUE(m_inventory.run());
    const core::Rows rows =
        db().query(QStringLiteral("SELECT * FROM inventario WHERE CODART = 'TEL' AND IDMAGAZZINO = :M"),
                   {{QStringLiteral("M"), m_sede.id}});
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.first()["ACQUISTOMEDIO"].toMoney(), core::Money::fromInt(100));
    // Without a period an item with no purchases counts at an average cost of 0.
    EXPECT_EQ(
        db().scalar(QStringLiteral("SELECT ACQUISTOMEDIO FROM inventario WHERE CODART = 'COV'")).toDouble(),
        0);

    const stock::InventoryTotals& totals = m_inventory.totals();
    EXPECT_EQ(totals.valoreAcq.toItalian(), QStringLiteral("323,50"));   // 100.5 × 3 + 2.2 × 10
    EXPECT_EQ(totals.valoreMedio.toItalian(), QStringLiteral("300,00")); // 100 × 3 + 0 × 10
    EXPECT_EQ(totals.valoreListino3.toItalian(), QStringLiteral("390,75"));
    EXPECT_DOUBLE_EQ(totals.totDisp, 10);
}

TEST_F(InventarioTest, PeriodAveragesItsPurchasesAndSkipsItemsWithout)
{
    const int bought = addItem(QStringLiteral("IN"), QStringLiteral("Comprato nel periodo"), 10, 20);
    addStock(bought, m_sede, 1);
    addPurchase(bought, 8, QDateTime(QDate(2026, 3, 1), QTime(0, 0)));
    addPurchase(bought, 12, QDateTime(QDate(2026, 3, 31), QTime(18, 30))); // the last day counts whole
    addPurchase(bought, 100, QDateTime(QDate(2026, 4, 1), QTime(0, 0)));
    const int before = addItem(QStringLiteral("OUT"), QStringLiteral("Comprato prima"), 10, 20);
    addStock(before, m_sede, 1);
    addPurchase(before, 5, QDateTime(QDate(2026, 2, 28), QTime(23, 59)));
    const int never = addItem(QStringLiteral("NEVER"), QStringLiteral("Mai comprato"), 10, 20);
    addStock(never, m_sede, 1);

    m_inventory.options().dal = QDate(2026, 3, 1);
    m_inventory.options().al = QDate(2026, 3, 31);
    ASSERT_TRUE(m_inventory.run());
    EXPECT_EQ(listed(), QStringList{QStringLiteral("IN@SEDE=1")});
    EXPECT_EQ(m_inventory.rows().value(0, "ACQUISTOMEDIO").toMoney(), core::Money::fromInt(10));
}

TEST_F(InventarioTest, RefusedPeriodsLeaveThePreviousInventory)
{
    const int item = addItem(QStringLiteral("A"), QStringLiteral("A"), 1, 2);
    addStock(item, m_sede, 1);
    ASSERT_TRUE(m_inventory.run());

    m_inventory.options().dal = QDate(2026, 5, 2);
    m_inventory.options().al = QDate(2026, 5, 1);
    EXPECT_FALSE(m_inventory.run());
    m_inventory.options().al.reset();
    EXPECT_FALSE(m_inventory.run());
    EXPECT_EQ(m_dialogs.messages(),
              (QStringList{QStringLiteral("La data iniziale del periodo è successiva a quella finale"),
                           QStringLiteral("Indicare entrambe le date del periodo")}));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM inventario")).toInt(), 1);
}

TEST_F(InventarioTest, InsideACallersTransactionTheOldRowsComeBackOnRollback)
{
    const int item = addItem(QStringLiteral("A"), QStringLiteral("A"), 1, 2);
    addStock(item, m_sede, 1);
    addStock(item, m_negozio, 2);
    stock::InventoryBuilder builder(db(), QStringLiteral("finestra"));
    EXPECT_EQ(builder.build({}), 2);
    {
        core::Transaction outer(db());
        stock::InventoryOptions sede;
        sede.idMagazzino = m_sede.id;
        EXPECT_EQ(builder.build(sede), 1);
        EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM inventario")).toInt(), 1);
    } // rolled back
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM inventario")).toInt(), 2);
}

TEST_F(InventarioTest, NothingIsPrintedOrExportedBeforeTheInventoryIsMade)
{
    EXPECT_FALSE(m_inventory.print());
    EXPECT_TRUE(m_inventory.exportAs(stock::InventoryExport::Csv).isEmpty());
    EXPECT_EQ(m_dialogs.messages(), (QStringList{QStringLiteral("Elaborare prima l'inventario"),
                                                 QStringLiteral("Elaborare prima l'inventario")}));
    EXPECT_TRUE(m_reports.requests().empty());
}

TEST_F(InventarioTest, ExportsGoToTheInventoryFolderNamedAfterTheDay)
{
    const int phone = addItem(QStringLiteral("TEL"), QStringLiteral("Telefono; nero"), 100, 150);
    addStock(phone, m_sede, -3);
    ASSERT_TRUE(m_inventory.run());
    const QString folder = m_dir.path() + QStringLiteral("/documenti/inventari/");

    const QString csv = m_inventory.exportAs(stock::InventoryExport::Csv);
    EXPECT_EQ(csv, folder + QStringLiteral("Inventario del 06-12-2026.csv"));
    const QStringList lines =
        QString::fromUtf8(ct::readFile(csv)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines.at(0),
              QStringLiteral("Codice;Descrizione;Magazzino;Fornitore;Giacenza;Disponibilità;Acquisto;"
                             "Acquisto medio;Listino 1;Listino 2;Listino 3"));
    EXPECT_TRUE(
        lines.at(1).startsWith(QStringLiteral("TEL;\"Telefono; nero\";SEDE;TIM SPA;-3;-3;100;0;150;")))
        << lines.at(1).toStdString();
    EXPECT_EQ(m_dialogs.messages(),
              QStringList{QStringLiteral("Esportazione avvenuta con successo!\n") + csv});
}

TEST_F(InventarioTest, PrintAndPdfShowThisWorkstationsInventoryOnly)
{
    const int phone = addItem(QStringLiteral("TEL"), QStringLiteral("Telefono Alfa"), 1000, 1234.5);
    addStock(phone, m_sede, -3);
    const int cover = addItem(QStringLiteral("COV"), QStringLiteral("Cover Beta"), 2, 10);
    addStock(cover, m_negozio, 4);
    m_inventory.options().filter = StockFilter::Negative;
    ASSERT_TRUE(m_inventory.run());

    // The other workstation makes an inventory of everything meanwhile, on connections of its own.
    std::unique_ptr<core::Db> other = company().newConnection();
    ct::ScriptedDialogs otherDialogs;
    auto otherInventory = std::make_unique<stock::Inventario>(*other, company().settings(), m_paths, m_clock,
                                                              otherDialogs, m_reports, core::runHere);
    ASSERT_TRUE(otherInventory->run());
    ASSERT_EQ(otherInventory->rows().size(), 2);

    ASSERT_TRUE(m_inventory.print());
    EXPECT_EQ(m_reports.last().request.datasets.at(QStringLiteral("inventario")).size(), 1);
    const QString text = ct::pdfText(m_inventory.exportAs(stock::InventoryExport::Pdf));
    for (const char* part : {"Telefono Alfa", "1.234,50", "-3.000,00", "06/12/2026"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << part << "\n" << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("Cover Beta")));

    // Closing the other window takes only its rows away.
    otherInventory.reset();
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM inventario")).toInt(), 1);
}

} // namespace
