#include "ui/stock/TArticolo.h"

#include "tests/support/QtPrinters.h"
#include "tests/ui/WindowTestBench.h"

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class TArticoloWindowTest : public ct::CompanySuite<TArticoloWindowTest>, protected ct::WindowTestBench
{
protected:
    void SetUp() override
    {
        emptyTables({"articoli", "giacenze", "categorie", "articoli_fornitori"});
        useCompany(company());
        logInWithAllPrivileges(m_warehouse);
    }

    int addItem()
    {
        db().exec(QStringLiteral("INSERT INTO articoli (CodArticolo, BarcodeFull, Descrizione, Aliquota) "
                                 "VALUES ('CAV1', '8001234567895', 'CAVO USB', 22)"));
        return int(db().lastInsertId());
    }

    // Tabs into the field, types the text and presses Enter.
    void enter(ui::TArticolo& window, const char* field, const QString& text)
    {
        QLineEdit* edit = window.field(QString::fromLatin1(field));
        edit->setFocus();
        edit->selectAll();
        type(edit, text);
        pressEnter(edit);
    }

    core::Warehouse m_warehouse{1, QStringLiteral("MAGAZZINO CENTRALE")};
};

TEST_F(TArticoloWindowTest, CostAndMarkupTypedPriceTheItemAndSaveStoresIt)
{
    const int id = addItem();
    ui::TArticolo window(m_environment, {QStringLiteral("TArticolo"), id, QStringLiteral("Articoli")});
    window.show();
    window.tabs().setCurrentIndex(1);
    enter(window, "PrezzoAcqnoiva", QStringLiteral("10,00"));
    enter(window, "Ricarico%", QStringLiteral("30"));
    EXPECT_EQ(window.field(QStringLiteral("Pubblico"))->text(), QStringLiteral("15,86"));

    window.findChild<QPushButton*>(QStringLiteral("salva"))->click();
    EXPECT_EQ(window.navigationResult().value.toInt(), id);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT Pubblico FROM articoli WHERE ID = :ID"),
                          {{QStringLiteral("ID"), id}})
                  .toMoney(),
              *core::Money::parse(u"15.86"));
}

TEST_F(TArticoloWindowTest, CellsEditedInTheSupplierGridAreSavedByTheTabsSalvaAndKeptWhenRefused)
{
    const int id = addItem();
    db().exec(QStringLiteral("INSERT INTO articoli_fornitori (idArticolo, Fornitore, Acquisto, Iva) "
                             "VALUES (:ID, 'ACME SRL', 10, 22)"),
              {{QStringLiteral("ID"), id}});
    ui::TArticolo window(m_environment, {QStringLiteral("TArticolo"), id});
    window.show();
    auto* grid = child<QTableView>(window, "fornitori");
    ASSERT_NE(grid, nullptr);
    QAbstractItemModel& model = *grid->model();
    const QModelIndex cost = model.index(0, 3);
    QPushButton* save = window.findChild<QPushButton*>(QStringLiteral("salvaFornitori"));

    ASSERT_TRUE(model.setData(cost, QStringLiteral("dieci")));
    save->click();
    EXPECT_EQ(m_dialogs.messages(),
              QStringList{QStringLiteral("Costo non valido: inserire un importo non negativo")});
    EXPECT_EQ(cost.data().toString(), QStringLiteral("dieci")) << "what was typed stays to be mended";

    m_dialogs.answerConfirm(false); // leaving with an unsaved cell asks first
    window.exitButton().click();
    EXPECT_TRUE(window.isVisible());

    ASSERT_TRUE(model.setData(cost, QStringLiteral("12,5")));
    save->click();
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT Acquisto FROM articoli_fornitori")).toMoney(),
              core::Money::fromDouble(12.5));
    window.exitButton().click();
    EXPECT_FALSE(window.isVisible()) << "nothing left unsaved: no question";
}

} // namespace
