#include "ui/stock/SerialWindows.h"

#include "stock/serials/LoadSerialCapture.h"
#include "stock/serials/SerialSales.h"

#include "tests/serials/SerialTestData.h"
#include "tests/ui/WindowTestBench.h"

#include <QLabel>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class TSerialiWindowTest : public ct::CompanySuite<TSerialiWindowTest>, protected ct::WindowTestBench
{
protected:
    void SetUp() override
    {
        emptyTables({"articoli", "seriali", "serialidocumenti", "storicoseriali", "dettreso", "giacenze"});
        m_phone = ct::addSerialItem(db(), QStringLiteral("TEL"), QStringLiteral("Telefono"));
        stock::LoadSerialCapture load(db(), m_dialogs, 0, 0, m_phone, ct::kSerialActor);
        ASSERT_TRUE(load.add(QStringLiteral("UI1"), stock::SerialEntry::Enter));
        ASSERT_TRUE(load.add(QStringLiteral("UI2"), stock::SerialEntry::Enter));
        stock::SerialSales(db(), ct::kSerialActor)
            .sell(m_phone.itemId, QStringLiteral("UI1"),
                  {QStringLiteral("Fattura"), 9, QStringLiteral("9"), 0, {}});
        useCompany(company());
        logInWithAllPrivileges({ct::kSerialActor.warehouseId, ct::kSerialActor.warehouseName});
    }

    stock::SerialItem m_phone;
};

TEST_F(TSerialiWindowTest, FindsASoldSerialAndBringsItBack)
{
    ui::TSeriali window(m_environment, {QStringLiteral("TSeriali")});
    window.show();
    EXPECT_EQ(window.timelineGrid()->model()->rowCount(), 0) << "nothing shown before a search";
    type(window.serialField(), QStringLiteral("UI1"));
    pressEnter(window.serialField());
    EXPECT_EQ(window.headline()->text(), QStringLiteral("SERIALE TROVATO"));
    QPushButton* rientro = child<QPushButton>(window, "rientro");
    ASSERT_TRUE(rientro->isEnabled());

    m_dialogs.answerOption(0);
    rientro->click();

    EXPECT_EQ(child<QLabel>(window, "dettaglio")->text(),
              QStringLiteral("Seriale disponibile per la vendita"));
    EXPECT_FALSE(rientro->isEnabled());
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT Motivo FROM dettreso")).toString(),
              QStringLiteral("CAMBIO MERCE"));
}

TEST_F(TSerialiWindowTest, TheDischargeDialogMovesOnWithEnterAndSellsOnConfirm)
{
    ui::TSerialeScarico window(m_environment, {QStringLiteral("TSerialeScarico"),
                                               m_phone.itemId,
                                               QStringLiteral("TPosClassic"),
                                               {{QStringLiteral("documento"), QStringLiteral("Pos")},
                                                {QStringLiteral("idDocumento"), 4}}});
    window.show();
    type(window.field(0), QStringLiteral("UI2"));
    pressEnter(window.field(0));
    EXPECT_EQ(window.focusWidget(), window.field(1));

    child<QPushButton>(window, "conferma")->click();

    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(window.navigationResult().values.value(QStringLiteral("seriali")).toStringList(),
              QStringList{QStringLiteral("UI2")});
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT CONCAT(Documento, idDocumento) FROM serialidocumenti "
                                         "WHERE Seriale = 'UI2'"))
                  .toString(),
              QStringLiteral("Pos4"));
}

} // namespace
