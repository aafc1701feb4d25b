#include "ui/documents/TFatture.h"

#include "tests/ui/WindowTestBench.h"

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class TFattureWindowTest : public ct::CompanySuite<TFattureWindowTest>, protected ct::WindowTestBench
{
protected:
    void SetUp() override
    {
        emptyTables({"fatture", "dettfattura", "venduti", "prima_nota", "scadenzario", "ddt"});
        db().exec(QStringLiteral(
            "INSERT INTO fatture (NumDoc, TipoFattura, Anno, data, RagioneSociale, totaledocumento) VALUES "
            "(1, 'I', YEAR(CURRENT_DATE), CURRENT_DATE, 'Rossi Srl', 122), "
            "(2, 'I', YEAR(CURRENT_DATE), CURRENT_DATE, 'Verdi Spa', 61), "
            "(3, 'D', YEAR(CURRENT_DATE), CURRENT_DATE, 'Verdi Spa', 10)"));
        useCompany(company());
        logInWithPrivilege(core::Privilege::Cancellazione);
    }
};

TEST_F(TFattureWindowTest, SearchesOpensPrintsAndDeletesTheSelectedInvoice)
{
    ui::TFatture window(m_environment, {documents::Fatture::windowName()});
    window.show();
    QAbstractItemModel* grid = window.grid()->model();
    ASSERT_EQ(grid->rowCount(), 2) << "the deferred invoice is not listed";

    type(child<QLineEdit>(window, "cliente"), QStringLiteral("verdi"));
    pressEnter(child<QLineEdit>(window, "cliente"));
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(grid->index(0, 3).data().toString(), QStringLiteral("Verdi Spa"));
    const int verdi = db().scalar(QStringLiteral("SELECT idFattura FROM fatture WHERE NumDoc = 2")).toInt();

    child<QPushButton>(window, "modifica")->click();
    EXPECT_EQ(m_navigator.lastRequest(QStringLiteral("TFatturaImmediata")).key.toInt(), verdi);
    m_dialogs.answerConfirm(true);
    child<QPushButton>(window, "elimina")->click();
    EXPECT_EQ(grid->rowCount(), 0);
    EXPECT_EQ(
        db().scalar(QStringLiteral("SELECT GROUP_CONCAT(NumDoc ORDER BY NumDoc) FROM fatture")).toString(),
        QStringLiteral("1,3"));
    EXPECT_TRUE(m_dialogs.messages().isEmpty()) << m_dialogs.messages().join(u'|').toStdString();

    // The variant asked for reaches the print port with the selected invoice.
    child<QLineEdit>(window, "cliente")->clear();
    pressEnter(child<QLineEdit>(window, "cliente"));
    child<QPushButton>(window, "stampaseriali")->click();
    ASSERT_EQ(m_reports.requests().size(), 1u);
    EXPECT_EQ(m_reports.requests().front().request.templateName, QStringLiteral("FatturaSeriali"));

    EXPECT_EQ(m_reports.requests()
                  .front()
                  .request.datasets.at(QStringLiteral("Testata"))
                  .value(0, u"NumDoc")
                  .toInt(),
              1);
}

} // namespace
