#include "ui/stock/TArticolo.h"

#include "stock/ItemLifecycle.h"
#include "tests/support/QtPrinters.h"
#include "tests/ui/WindowTestBench.h"

#include <QToolButton>

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

TEST_F(TArticoloWindowTest, TheSizeColourGridOpensOnlyForAnItemBySizeAndColour)
{
    const int id = addItem();
    ui::TArticolo window(m_environment, {QStringLiteral("TArticolo"), id, QStringLiteral("Articoli")});
    window.show();
    auto* grid = window.findChild<QPushButton*>(QStringLiteral("taglieColori"));
    EXPECT_FALSE(grid->isEnabled());
    window.findChild<QPushButton*>(QStringLiteral("disponibilita"))->click();
    EXPECT_EQ(m_navigator.lastRequest(QStringLiteral("TDisponibilita")).key.toInt(), id);

    window.logic().setValue(QStringLiteral("TC"), true);
    ASSERT_TRUE(grid->isEnabled());
    grid->click();
    EXPECT_EQ(m_navigator.lastRequest(QStringLiteral("TDisponibilitaTC")).key.toInt(), id);
}

TEST_F(TArticoloWindowTest, SavingWithoutAPublicPriceIsRefusedAndFocusesIt)
{
    ui::TArticolo window(m_environment, {QStringLiteral("TArticolo"), addItem()});
    window.show();
    window.findChild<QPushButton*>(QStringLiteral("salva"))->click();
    EXPECT_EQ(m_dialogs.messages(),
              QStringList{QStringLiteral("Attenzione! Inserire il prezzo al pubblico")});
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.tabs().currentIndex(), 1);
}

TEST_F(TArticoloWindowTest, ANewItemLeftWithAnnullaIsRemovedAndNewCategoriesAreOfferedAtOnce)
{
    const int id = stock::ItemLifecycle(db()).createNew(m_warehouse);
    ui::TArticolo window(
        m_environment,
        {QStringLiteral("TArticolo"), id, QStringLiteral("Articoli"), {{QStringLiteral("nuovo"), true}}});
    window.show();

    m_dialogs.answerText(QStringLiteral("cover"));
    window.findChild<QToolButton*>(QStringLiteral("nuovoCategoria"))->click();
    EXPECT_EQ(window.choice(QStringLiteral("Categoria"))->currentText(), QStringLiteral("COVER"));

    m_dialogs.answerConfirm(true);
    window.exitButton().click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM articoli")).toInt(), 0);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM giacenze")).toInt(), 0);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM categorie")).toInt(), 1);
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
