#include "ui/accounts/PaymentWindows.h"

#include "tests/ui/WindowTestBench.h"

#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class TPagamentoWindowTest : public ct::CompanySuite<TPagamentoWindowTest>, protected ct::WindowTestBench
{
protected:
    void SetUp() override { useCompany(company()); }

    static QString instalmentsOf(int id)
    {
        return db()
            .scalar(QStringLiteral("SELECT GROUP_CONCAT(GGScadenza, '/', PercScad ORDER BY id) FROM rate "
                                   "WHERE idpagamento = :ID"),
                    {{QStringLiteral("ID"), id}})
            .toString();
    }
};

TEST_F(TPagamentoWindowTest, ATermIsEditedOnTheCardAndSavedWithItsInstalments)
{
    ui::TPagamento window(m_environment, {QStringLiteral("TPagamento"), 7});
    window.show();
    EXPECT_EQ(window.descrizione()->text(), QStringLiteral("RI.BA. 30/60 GG F.M."));
    ASSERT_EQ(window.instalments()->rowCount(), 2);

    window.numeroRate()->setValue(5);
    buttonCaptioned(window, QStringLiteral("Salva"))->click();
    EXPECT_EQ(m_dialogs.lastText(), QStringLiteral("Il numero delle rate deve essere compreso tra 1 e 4"));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT NrRate FROM pagamenti WHERE id = 7")).toInt(), 2);

    window.numeroRate()->setValue(3);
    buttonCaptioned(window, QStringLiteral("Nuova"))->click();
    ASSERT_EQ(window.instalments()->rowCount(), 3);
    window.instalments()->item(2, 0)->setText(QStringLiteral("90"));
    window.instalments()->item(2, 1)->setText(QStringLiteral("34"));
    buttonCaptioned(window, QStringLiteral("Salva"))->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT NrRate FROM pagamenti WHERE id = 7")).toInt(), 3);
    EXPECT_EQ(instalmentsOf(7), QStringLiteral("30/50,60/50,90/34"));
}

TEST_F(TPagamentoWindowTest, TheListDeletesTheSelectedTermWithItsInstalments)
{
    logInWithAllPrivileges();
    ui::TPagamenti window(m_environment, {QStringLiteral("TPagamenti")});
    window.show();
    window.searchField()->setText(QStringLiteral("RI.BA. 30/60/90"));
    ASSERT_EQ(window.grid()->model()->rowCount(), 1);
    window.grid()->setCurrentIndex(window.grid()->model()->index(0, 0));
    m_dialogs.answerConfirm(true);
    buttonCaptioned(window, QStringLiteral("Elimina"))->click();
    EXPECT_EQ(m_dialogs.lastText(), QStringLiteral("Eliminare il pagamento selezionato?"));
    EXPECT_EQ(window.grid()->model()->rowCount(), 0);
    EXPECT_EQ(instalmentsOf(8), QString());
}

} // namespace
