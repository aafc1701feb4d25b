#include "ui/stock/TInventario.h"

#include "tests/ui/WindowTestBench.h"

#include <QDateEdit>
#include <QFile>
#include <QLabel>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class TInventarioWindowTest : public ct::CompanySuite<TInventarioWindowTest>, protected ct::WindowTestBench
{
protected:
    void SetUp() override
    {
        emptyTables({"articoli", "giacenze", "magazzini", "acquisti", "inventario"});
        db().exec(QStringLiteral(
            "INSERT INTO magazzini (idMagazzino, Descrizione) VALUES (1, 'SEDE'), (2, 'NEGOZIO')"));
        db().exec(
            QStringLiteral("INSERT INTO articoli (ID, CodArticolo, Descrizione, PrezzoAcqnoiva, Pubblico) "
                           "VALUES (1, 'TEL', 'Telefono', 100, 150), (2, 'COV', 'Cover', 2, 10)"));
        db().exec(QStringLiteral(
            "INSERT INTO giacenze (idarticolo, idmagazzino, magazzino, giacenza, disponibilita) "
            "VALUES (1, 1, 'SEDE', -3, -3), (2, 1, 'SEDE', 4, 4), (2, 2, 'NEGOZIO', 6, 6)"));
        useCompany(company());
        m_clock.setNow(QDateTime(QDate(2026, 12, 6), QTime(9, 0)));
    }
};

TEST_F(TInventarioWindowTest, RunsTheChosenInventoryAndExportsItAsCsvAndPdf)
{
    ui::TInventario window(m_environment, {QStringLiteral("TInventario")});
    window.show();

    window.stockFilter()->setCurrentIndex(window.stockFilter()->findText(QStringLiteral("> 0")));
    window.runButton()->click();
    EXPECT_TRUE(m_dialogs.events().empty()) << m_dialogs.lastText().toStdString();
    ASSERT_EQ(window.grid()->model()->rowCount(), 2);
    EXPECT_EQ(window.grid()->model()->index(0, 0).data().toString(), QStringLiteral("COV"));
    EXPECT_EQ(window.totalLabel(QStringLiteral("VALORELISTINO1"))->text(), QStringLiteral("100,00"));

    window.warehouseChoice()->setCurrentIndex(window.warehouseChoice()->findText(QStringLiteral("SEDE")));
    window.stockFilter()->setCurrentIndex(window.stockFilter()->findText(QStringLiteral("< 0")));
    window.runButton()->click();
    ASSERT_EQ(window.grid()->model()->rowCount(), 1);

    const QString base = m_dir.path() + QStringLiteral("/documenti/inventari/Inventario del 06-12-2026.");
    window.exportButton(stock::InventoryExport::Csv)->click();
    EXPECT_EQ(m_dialogs.messages(),
              QStringList{QStringLiteral("Esportazione avvenuta con successo!\n") + base + "csv"});
    EXPECT_TRUE(QFile::exists(base + "csv"));

    window.exportButton(stock::InventoryExport::Pdf)->click(); // laid out behind the progress bar too
    EXPECT_TRUE(ct::pdfText(base + "pdf").contains(QStringLiteral("Telefono")));
}

} // namespace
