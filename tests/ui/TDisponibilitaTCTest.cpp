#include "ui/stock/SizeColourWindows.h"

#include "tests/ui/WindowTestBench.h"

#include <QLabel>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class SizeColourWindowsTest : public ct::CompanySuite<SizeColourWindowsTest>, protected ct::WindowTestBench
{
protected:
    void SetUp() override
    {
        emptyTables({"articoli", "taglie_tc", "colori", "disptc", "scaricotc", "scaricotcdoc"});
        db().exec(QStringLiteral(
            "INSERT INTO taglie_tc (DESCRIZIONE, TG1, TG2, TG3) VALUES ('ADULTO', 'S', 'M', 'L')"));
        db().exec(QStringLiteral("INSERT INTO articoli (Descrizione, TC, GruppoTaglia, Listino1) "
                                 "VALUES ('Felpa', 1, 'ADULTO', 39.9)"));
        m_item = int(db().lastInsertId());
        db().exec(QStringLiteral(
                      "INSERT INTO disptc (idarticolo, Gruppo_taglia, Colore, idmagazzino, Magazzino, TG2, "
                      "BAR2) VALUES (:ID, 'ADULTO', 'VERDE', 1, 'CENTRALE', 4, '6401002001028')"),
                  {{"ID", m_item}});
        useCompany(company());
        logInWithAllPrivileges({1, QStringLiteral("CENTRALE")});
    }

    int m_item = 0;
};

TEST_F(SizeColourWindowsTest, TheGridIsCaptionedBySizeAndAClickShowsTheCellsBarcode)
{
    ui::TDisponibilitaTC window(m_environment, {QStringLiteral("TDisponibilitaTC"), m_item});
    window.show();
    QAbstractItemModel* grid = window.grid()->model();
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(grid->index(0, 2).data().toString(), QStringLiteral("4"));
    window.grid()->setCurrentIndex(grid->index(0, 2));
    EXPECT_EQ(window.cellInfo()->text(), QStringLiteral("Taglia M - Barcode 6401002001028 - Quantità 4"));
    ct::WindowTestBench::buttonCaptioned(window, QStringLiteral("Etichetta"))->click();
    ASSERT_EQ(m_navigator.requests().size(), 1u);
    EXPECT_EQ(m_navigator.requests().front().window, QStringLiteral("TTCEdit"));
    EXPECT_EQ(m_navigator.requests().front().values.value(QStringLiteral("taglia")).toInt(), 2);
    EXPECT_TRUE(m_dialogs.messages().isEmpty()) << m_dialogs.messages().join(u'\n').toStdString();
}

TEST_F(SizeColourWindowsTest, TheSaleGridRecordsTheTypedSizesOnConferma)
{
    ui::TScaricoTC window(m_environment, {QStringLiteral("TScaricoTC"),
                                          m_item,
                                          QStringLiteral("TFatturaImmediata"),
                                          {{QStringLiteral("tipodoc"), QStringLiteral("Fattura")},
                                           {QStringLiteral("iddoc"), 9}}});
    window.show();
    QAbstractItemModel* grid = window.grid()->model();
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_TRUE(grid->setData(grid->index(0, 3), 2, Qt::EditRole));
    EXPECT_EQ(window.total()->text(), QStringLiteral("Totale taglie per colore da scaricare: 2"));
    ct::WindowTestBench::buttonCaptioned(window, QStringLiteral("Listino1"))->click();
    EXPECT_EQ(window.priceField()->text(), QStringLiteral("39,90"));
    ct::WindowTestBench::buttonCaptioned(window, QStringLiteral("Conferma"))->click();

    EXPECT_TRUE(m_dialogs.messages().isEmpty()) << m_dialogs.lastText().toStdString();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    const core::NavigationResult result = window.navigationResult();
    EXPECT_TRUE(result.accepted);
    EXPECT_EQ(result.values.value(QStringLiteral("quantita")).toInt(), 2);
    EXPECT_EQ(result.values.value(QStringLiteral("prezzo")).toString(), QStringLiteral("39.9000"));
    EXPECT_EQ(
        db().scalar(QStringLiteral("SELECT CONCAT(colore, '|', taglia, '|', quantita) FROM scaricotcdoc "
                                   "WHERE iddoc = 9 AND tipodoc = 'Fattura'"))
            .toString(),
        QStringLiteral("VERDE|L|2"));
}

} // namespace
