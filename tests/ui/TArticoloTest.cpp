#include "TArticolo.h"

#include "ItemCardWindows.h"
#include "ItemLifecycle.h"
#include "QtPrinters.h"
#include "TestDatabase.h"
#include "WindowRegistry.h"
#include "WindowTestBench.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class TArticoloWindowTest : public ct::CompanySuite<TArticoloWindowTest>, protected ct::WindowTestBench
{
protected:
    void SetUp() override
    {
        emptyTables({"articoli", "giacenze", "categorie"});
        useCompany(company());
        logInWithAllPrivileges(m_warehouse);
    }

    int addItem()
    {
        company().db().exec(QStringLiteral("INSERT INTO articoli (CodArticolo, BarcodeFull, Descrizione, Aliquota) "
                                           "VALUES ('CAV1', '8001234567895', 'CAVO USB', 22)"));
        return int(company().db().lastInsertId());
    }

    core::Warehouse m_warehouse{1, QStringLiteral("MAGAZZINO CENTRALE")};
};

TEST_F(TArticoloWindowTest, CostAndMarkupTypedPriceTheItemAndSaveStoresIt)
{
    const int id = addItem();
    ui::TArticolo window(m_environment, {QStringLiteral("TArticolo"), id, QStringLiteral("Articoli")});
    window.show();
    EXPECT_EQ(window.exitButton().text(), QStringLiteral("Esci"));
    EXPECT_EQ(window.field(QStringLiteral("CodArticolo"))->text(), QStringLiteral("CAV1"));
    EXPECT_EQ(window.choice(QStringLiteral("UM"))->count(), 10) << "an empty entry and the nine units";

    window.tabs().setCurrentIndex(1);
    QLineEdit* cost = window.field(QStringLiteral("PrezzoAcqnoiva"));
    cost->setFocus();
    cost->selectAll(); // as when the operator tabs into it
    type(cost, QStringLiteral("10,00"));
    pressEnter(cost);
    EXPECT_EQ(window.field(QStringLiteral("PrezzoAcquisto"))->text(), QStringLiteral("12,20"));
    EXPECT_EQ(window.focusWidget(), window.field(QStringLiteral("scontoacq1"))) << "Enter moves to the next price";

    QLineEdit* markup = window.field(QStringLiteral("Ricarico%"));
    markup->setFocus();
    markup->selectAll();
    type(markup, QStringLiteral("30"));
    pressEnter(markup);
    EXPECT_EQ(window.field(QStringLiteral("PrezzoVendnoiva"))->text(), QStringLiteral("13,00"));
    EXPECT_EQ(window.field(QStringLiteral("Pubblico"))->text(), QStringLiteral("15,86"));
    EXPECT_EQ(window.field(QStringLiteral("Utile"))->text(), QStringLiteral("3,00"));

    // List 2 from its markup, typed with a decimal point.
    QLineEdit* markup2 = window.field(QStringLiteral("RICARICO2"));
    markup2->setFocus();
    markup2->selectAll();
    type(markup2, QStringLiteral("12.5"));
    pressEnter(markup2);
    window.findChild<QPushButton*>(QStringLiteral("prezzoDaRicarico2"))->click();
    EXPECT_EQ(window.field(QStringLiteral("Listino2"))->text(), QStringLiteral("13,725"));

    window.findChild<QPushButton*>(QStringLiteral("salva"))->click();
    EXPECT_TRUE(m_dialogs.events().empty()) << m_dialogs.lastText().toStdString();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_TRUE(window.navigationResult().accepted);
    EXPECT_EQ(window.navigationResult().value.toInt(), id);
    const core::Rows stored = company().db().query(
        QStringLiteral("SELECT PrezzoAcqnoiva, Pubblico, Listino2, `Ricarico%` AS r FROM articoli WHERE ID = :ID"),
        {{QStringLiteral("ID"), id}});
    EXPECT_EQ(stored.value(0, "PrezzoAcqnoiva").toMoney(), core::Money::fromInt(10));
    EXPECT_EQ(stored.value(0, "Pubblico").toMoney(), *core::Money::parse(u"15.86"));
    EXPECT_EQ(stored.value(0, "Listino2").toMoney(), *core::Money::parse(u"13.725"));
    EXPECT_EQ(stored.value(0, "r").toInt(), 30);
}

TEST_F(TArticoloWindowTest, SavingWithoutAPublicPriceIsRefusedAndFocusesIt)
{
    const int id = addItem();
    ui::TArticolo window(m_environment, {QStringLiteral("TArticolo"), id});
    window.show();
    window.findChild<QPushButton*>(QStringLiteral("salva"))->click();
    EXPECT_EQ(m_dialogs.messages(), QStringList{QStringLiteral("Attenzione! Inserire il prezzo al pubblico")});
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.tabs().currentIndex(), 1);
}

TEST_F(TArticoloWindowTest, ANewItemLeftWithAnnullaIsRemovedAndNewCategoriesAreOfferedAtOnce)
{
    const int id = stock::ItemLifecycle(company().db()).createNew(m_warehouse);
    ui::TArticolo window(m_environment, {QStringLiteral("TArticolo"), id, QStringLiteral("Articoli"),
                                         {{QStringLiteral("nuovo"), true}}});
    window.show();
    EXPECT_EQ(window.exitButton().text(), QStringLiteral("Annulla"));
    EXPECT_EQ(window.choice(QStringLiteral("reparto"))->currentText(), QStringLiteral("REPARTO1 (IVA 22%)"));

    m_dialogs.answerText(QStringLiteral("cover"));
    window.findChild<QToolButton*>(QStringLiteral("nuovoCategoria"))->click();
    EXPECT_EQ(window.choice(QStringLiteral("Categoria"))->currentText(), QStringLiteral("COVER"));
    EXPECT_FALSE(window.choice(QStringLiteral("Linea"))->isEnabled()) << "no size/colour grid";

    m_dialogs.answerConfirm(true);
    window.exitButton().click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.navigationResult().accepted);
    EXPECT_EQ(company().db().scalar(QStringLiteral("SELECT COUNT(*) FROM articoli")).toInt(), 0);
    EXPECT_EQ(company().db().scalar(QStringLiteral("SELECT COUNT(*) FROM giacenze")).toInt(), 0);
    EXPECT_EQ(company().db().scalar(QStringLiteral("SELECT COUNT(*) FROM categorie")).toInt(), 1);
}

TEST_F(TArticoloWindowTest, LeavingAnEmptyBarcodeOffersToGenerateOneAndSuppliersAreAddedThroughThePicker)
{
    company().db().exec(QStringLiteral("UPDATE contatori SET BarcodeArticolo = ''"));
    company().db().exec(QStringLiteral("DELETE FROM articoli_fornitori"));
    const int id = addItem();
    company().db().exec(QStringLiteral("UPDATE articoli SET BarcodeFull = '' WHERE ID = :ID"), {{QStringLiteral("ID"), id}});
    ui::TArticolo window(m_environment, {QStringLiteral("TArticolo"), id});
    window.show();

    m_dialogs.answerConfirm(true);
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(window.field(QStringLiteral("BarcodeFull")), &leave);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_dialogs.texts(ct::DialogEvent::Kind::Confirm),
              QStringList{QStringLiteral("Non è stato assegnato nessun barcode a questo articolo, vuoi generalo "
                                         "automaticamente?")});
    EXPECT_EQ(window.field(QStringLiteral("BarcodeFull"))->text(), QStringLiteral("8005001002000"));

    m_navigator.returnFrom(QStringLiteral("TFornitoriPreleva"),
                           {true, 7, {{QStringLiteral("id_fornitore"), 7}, {QStringLiteral("RagSoc"), QStringLiteral("ACME SRL")}}});
    window.findChild<QPushButton*>(QStringLiteral("aggiungiFornitore"))->click();
    auto* suppliers = window.findChild<QTableView*>(QStringLiteral("fornitori"));
    ASSERT_NE(suppliers, nullptr);
    ASSERT_EQ(suppliers->model()->rowCount(), 1);
    EXPECT_EQ(suppliers->model()->index(0, 0).data().toString(), QStringLiteral("ACME SRL"));
}

TEST_F(TArticoloWindowTest, CellsEditedInTheSupplierGridAreSavedByTheTabsSalvaAndKeptWhenRefused)
{
    company().db().exec(QStringLiteral("DELETE FROM articoli_fornitori"));
    const int id = addItem();
    company().db().exec(QStringLiteral("INSERT INTO articoli_fornitori (idArticolo, Fornitore, Acquisto, Iva) "
                                       "VALUES (:ID, 'ACME SRL', 10, 22)"),
                        {{QStringLiteral("ID"), id}});
    ui::TArticolo window(m_environment, {QStringLiteral("TArticolo"), id});
    window.show();
    auto* grid = window.findChild<QTableView*>(QStringLiteral("fornitori"));
    ASSERT_NE(grid, nullptr);
    QAbstractItemModel& model = *grid->model();
    const QModelIndex supplier = model.index(0, 0);
    const QModelIndex cost = model.index(0, 3);
    EXPECT_FALSE(model.flags(supplier) & Qt::ItemIsEditable) << "the supplier is chosen, not typed";
    EXPECT_EQ(cost.data(Qt::EditRole).toString(), QStringLiteral("10,00"));
    QPushButton* save = window.findChild<QPushButton*>(QStringLiteral("salvaFornitori"));

    ASSERT_TRUE(model.setData(cost, QStringLiteral("dieci")));
    save->click();
    EXPECT_EQ(m_dialogs.messages(), QStringList{QStringLiteral("Costo non valido: inserire un importo non negativo")});
    EXPECT_EQ(cost.data().toString(), QStringLiteral("dieci")) << "what was typed stays to be mended";
    EXPECT_EQ(grid->currentIndex(), cost);

    // Leaving with an unsaved cell asks first.
    m_dialogs.answerConfirm(false);
    window.exitButton().click();
    EXPECT_TRUE(window.isVisible());

    ASSERT_TRUE(model.setData(cost, QStringLiteral("12,5")));
    save->click();
    EXPECT_EQ(company().db().scalar(QStringLiteral("SELECT Acquisto FROM articoli_fornitori")).toMoney(),
              core::Money::fromDouble(12.5));
    EXPECT_EQ(model.index(0, 3).data().toString(), QStringLiteral("12,50"));
    window.exitButton().click();
    EXPECT_FALSE(window.isVisible()) << "nothing left unsaved: no question";
}

TEST_F(TArticoloWindowTest, TheBookCardAddsTheBookFields)
{
    const int id = addItem();
    ui::WindowRegistry registry;
    ui::registerItemCardWindows(registry);
    for (const char* name : {"TArticolo", "TAnagraficaArticolo", "TAnagraficaArticoloLibr"}) {
        SCOPED_TRACE(name);
        std::unique_ptr<ui::Window> window(
            registry.create(QString::fromLatin1(name), m_environment, {QString::fromLatin1(name), id}, nullptr));
        ASSERT_NE(window, nullptr);
        auto* card = qobject_cast<ui::TArticolo*>(window.get());
        ASSERT_NE(card, nullptr);
        EXPECT_EQ(card->field(QStringLiteral("isbn")) != nullptr, QByteArray(name).endsWith("Libr"));
        EXPECT_EQ(card->field(QStringLiteral("Descrizione"))->text(), QStringLiteral("CAVO USB"));
    }
}

} // namespace
