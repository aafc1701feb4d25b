#include "ui/stock/TArticoli.h"

#include "tests/ui/WindowTestBench.h"
#include "ui/common/WindowRegistry.h"
#include "ui/stock/ItemListPanel.h"
#include "ui/stock/ItemListWindows.h"
#include "ui/stock/TArticoliPreleva.h"
#include "ui/stock/TRicercaAvanzata.h"

#include <memory>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

QStringList shownDescriptions(QTableView* grid)
{
    QStringList out;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        out << grid->model()->index(r, 3).data().toString();
    return out;
}

class TArticoliTest : public ct::CompanySuite<TArticoliTest>, protected ct::WindowTestBench
{
protected:
    void SetUp() override
    {
        emptyTables({"articoli", "giacenze", "acquisti", "venduti", "dettreso", "magazzini"});
        db().exec(QStringLiteral(
            "INSERT INTO magazzini (idMagazzino, Descrizione) VALUES (1, 'NEGOZIO'), (2, 'DEPOSITO')"));
        m_cover = addItem("COVER IPHONE 15", 3);
        const int cable = addItem("CAVO USB-C", 0);
        db().exec(
            QStringLiteral("INSERT INTO acquisti (idarticolo, idMagazzino, quantita) VALUES (:A, 1, 5)"),
            {{QStringLiteral("A"), cable}});
        db().exec(QStringLiteral("INSERT INTO venduti (idArticolo, idMagazzino, quantita) VALUES (:A, 1, 2)"),
                  {{QStringLiteral("A"), cable}});
        useCompany(company());
        logInWithAllPrivileges(core::Warehouse{1, QStringLiteral("NEGOZIO")});
        ui::registerItemListWindows(m_registry);
    }

    int addItem(const char* description, double stock)
    {
        db().exec(
            QStringLiteral("INSERT INTO articoli (Descrizione, CodArticolo, Pubblico) VALUES (:D, :D, 19.9)"),
            {{QStringLiteral("D"), QString::fromUtf8(description)}});
        const int id = int(db().lastInsertId());
        db().exec(QStringLiteral(
                      "INSERT INTO giacenze (idarticolo, idmagazzino, magazzino, giacenza, disponibilita) "
                      "VALUES (:A, 1, 'NEGOZIO', :G, :G)"),
                  {{QStringLiteral("A"), id}, {QStringLiteral("G"), stock}});
        return id;
    }

    double coverStock()
    {
        return db()
            .scalar(QStringLiteral("SELECT giacenza FROM giacenze WHERE idarticolo = :A AND idmagazzino = 1"),
                    {{QStringLiteral("A"), m_cover}})
            .toDouble();
    }

    std::unique_ptr<ui::Window> create(const QString& name, const QString& caller = {})
    {
        return std::unique_ptr<ui::Window>(
            m_registry.create(name, m_environment, core::NavigationRequest{name, {}, caller, {}}, nullptr));
    }

    ui::WindowRegistry m_registry;
    int m_cover = 0;
};

TEST_F(TArticoliTest, ListOpensSearchesAndShowsTheRealignedStock)
{
    auto window = create(QStringLiteral("TArticoli"));
    auto* list = dynamic_cast<ui::TArticoli*>(window.get());
    ASSERT_NE(list, nullptr);
    ui::ItemListPanel* panel = list->panel();
    EXPECT_EQ(shownDescriptions(panel->grid()), (QStringList{"CAVO USB-C", "COVER IPHONE 15"}));
    // The first item is current and realigned: loaded 5, sold 2.
    EXPECT_EQ(panel->stockText(),
              QStringLiteral("Giacenza 3,000, Disponibilità 3,000, CARICATO 5, VENDUTO 2, RESO 0"));

    panel->modeSelector()->setCurrentIndex(2);
    panel->descriptionField()->setText(QStringLiteral("iphone"));
    pressEnter(panel->descriptionField());
    EXPECT_EQ(shownDescriptions(panel->grid()), QStringList{"COVER IPHONE 15"});
    // No history: the cover's 3 pieces are realigned to 0.
    EXPECT_EQ(panel->stockText(),
              QStringLiteral("Giacenza 0,000, Disponibilità 0,000, CARICATO 0, VENDUTO 0, RESO 0"));
}

TEST_F(TArticoliTest, MovingInTheGridRealignsTheItemMovedTo)
{
    auto window = create(QStringLiteral("TArticoli"));
    QTableView* grid = static_cast<ui::TArticoli*>(window.get())->panel()->grid();
    grid->setCurrentIndex(grid->model()->index(1, 3));
    EXPECT_EQ(coverStock(), 0.0);
    EXPECT_EQ(grid->model()->index(1, 13).data().toString(), QStringLiteral("0"));
}

TEST_F(TArticoliTest, PickerConfirmHandsTheItemToTheCallerAndAdvancedSearchAsksForAValue)
{
    auto window = create(QStringLiteral("TArticoliPreleva"), QStringLiteral("FATTURA_I"));
    auto* picker = dynamic_cast<ui::TArticoliPreleva*>(window.get());
    ASSERT_NE(picker, nullptr);
    ui::ItemListPanel* panel = picker->panel();
    panel->descriptionField()->setText(QStringLiteral("COVER"));
    pressEnter(panel->descriptionField());
    ASSERT_EQ(shownDescriptions(panel->grid()), QStringList{"COVER IPHONE 15"});
    pressEnter(panel->grid());

    const core::NavigationResult result = window->navigationResult();
    EXPECT_TRUE(result.accepted);
    EXPECT_EQ(result.value.toInt(), m_cover);
    EXPECT_EQ(coverStock(), 3.0) << "the picker only reads the stock";

    auto search = create(QStringLiteral("TRicercaAvanzata"), QStringLiteral("TArticoli"));
    ASSERT_NE(dynamic_cast<ui::TRicercaAvanzata*>(search.get()), nullptr);
    buttonCaptioned(*search, QStringLiteral("Cerca"))->click();
    EXPECT_EQ(m_dialogs.messages(), QStringList{QStringLiteral("Inserire un valore di ricerca!")});
}

} // namespace
