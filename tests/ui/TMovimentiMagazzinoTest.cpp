#include "ui/stock/TMovimentiMagazzino.h"
#include "ui/stock/TMagazziniLista.h"

#include "tests/support/QtPrinters.h"
#include "tests/ui/WindowTestBench.h"
#include "ui/common/RowsTableModel.h"

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class StockMovementWindowsTest : public ct::CompanySuite<StockMovementWindowsTest>,
                                 protected ct::WindowTestBench
{
protected:
    void SetUp() override
    {
        emptyTables({"venduti", "acquisti", "articoli", "magazzini", "giacenze", "causaligeneriche"});
        useCompany(company());
        logInWithAllPrivileges();
    }

    void sell(int item, const char* kind, const char* description)
    {
        db().exec(QStringLiteral(
                      "INSERT INTO venduti (idArticolo, TipoDoc, Descrizione, data, quantita, idMagazzino) "
                      "VALUES (:A, :T, :D, '2024-03-01', 1, 1)"),
                  {{QStringLiteral("A"), item},
                   {QStringLiteral("T"), QString::fromUtf8(kind)},
                   {QStringLiteral("D"), QString::fromUtf8(description)}});
    }
};

TEST_F(StockMovementWindowsTest, MovementsFilterByKindAndItemAndPrintWhatIsShown)
{
    db().exec(QStringLiteral("INSERT INTO articoli (CodArticolo, Descrizione) VALUES ('TEL', 'Telefono')"));
    const int phone = int(db().lastInsertId());
    sell(phone, "Pos", "Telefono al banco");
    sell(phone, "Fattura", "Telefono in fattura");
    sell(phone + 1, "Pos", "Altro articolo");

    ui::TMovimentiMagazzino window(m_environment, {QStringLiteral("TMovimentiMagazzino")});
    EXPECT_EQ(window.grid()->model()->rowCount(), 3);
    window.kindBox()->setCurrentIndex(window.kindBox()->findText(QStringLiteral("Pos")));
    window.itemLine()->setText(QStringLiteral("TEL"));
    buttonCaptioned(window, QStringLiteral("Cerca"))->click(); // the typed code is looked up first
    ASSERT_EQ(window.grid()->model()->rowCount(), 1);

    buttonCaptioned(window, QStringLiteral("Stampa"))->click();
    EXPECT_TRUE(m_dialogs.messages().isEmpty()) << m_dialogs.lastText().toStdString();
    ASSERT_EQ(m_reports.requests().size(), 1u);
    EXPECT_EQ(m_reports.last().request.datasets.at(QStringLiteral("venduti")).size(), 1);
}

TEST_F(StockMovementWindowsTest, WarehouseListDeletesAfterTheQuestion)
{
    db().exec(QStringLiteral("INSERT INTO magazzini (Descrizione) VALUES ('DEPOSITO')"));
    ui::TMagazziniLista window(m_environment, {QStringLiteral("TMagazziniLista")});
    ASSERT_EQ(window.grid()->model()->rowCount(), 1);
    window.grid()->setCurrentIndex(window.grid()->model()->index(0, 0));
    m_dialogs.answerConfirm(true);
    buttonCaptioned(window, QStringLiteral("Elimina"))->click();
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM magazzini")).toInt(), 0);
}

} // namespace
