#include "ui/documents/InvoiceWindows.h"
#include "ui/stock/SizeColourWindows.h"

#include "tests/ui/WindowTestBench.h"

#include <QTableView>
#include <QTableWidget>
#include <QTimer>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class TFatturaImmediataWindowTest : public ct::CompanySuite<TFatturaImmediataWindowTest>,
                                    protected ct::WindowTestBench
{
protected:
    void SetUp() override
    {
        emptyTables({"articoli", "giacenze", "fatture", "dettfattura", "venduti", "clienti", "prima_nota",
                     "sospesi", "pagamenti", "taglie_tc", "disptc", "scaricotc", "scaricotcdoc"});
        m_customer = insert("clienti", {{QStringLiteral("RagioneSociale"), QStringLiteral("Rossi Srl")},
                                        {QStringLiteral("Listino"), QStringLiteral("LISTINO1")}});
        m_item = insert("articoli", {{QStringLiteral("CodArticolo"), QStringLiteral("CAV")},
                                     {QStringLiteral("Descrizione"), QStringLiteral("Cavo USB-C")},
                                     {QStringLiteral("BarcodeFull"), QStringLiteral("8001234567890")},
                                     {QStringLiteral("Aliquota"), 22},
                                     {QStringLiteral("Pubblico"), 12.2},
                                     {QStringLiteral("UM"), QStringLiteral("PZ")},
                                     {QStringLiteral("UMVENDITA"), QStringLiteral("PZ")},
                                     {QStringLiteral("giacenza"), 10},
                                     {QStringLiteral("Disponibilita"), 10}});
        insert("giacenze", {{QStringLiteral("idarticolo"), m_item},
                            {QStringLiteral("idmagazzino"), 1},
                            {QStringLiteral("giacenza"), 10},
                            {QStringLiteral("disponibilita"), 10}});
        useCompany(company());
        logInWithAllPrivileges(core::Warehouse{1, QStringLiteral("NEGOZIO")});
    }

    // Scans the item and confirms the quantity dialog with that quantity.
    void scanAndConfirm(ui::TFatturaImmediata& window, const QString& quantity)
    {
        bool confirmed = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<ui::TDialogoScaricoFattDdt*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->quantity()->setText(quantity);
            dialog->confirm();
            confirmed = true;
        });
        window.barcode()->setText(QStringLiteral("8001234567890"));
        pressEnter(window.barcode());
        EXPECT_TRUE(confirmed);
    }

    int stock(int item = 0)
    {
        return db()
            .scalar(QStringLiteral("SELECT giacenza FROM giacenze WHERE idarticolo = :ID"),
                    {{QStringLiteral("ID"), item ? item : m_item}})
            .toInt();
    }

    int m_customer = 0;
    int m_item = 0;
};

TEST_F(TFatturaImmediataWindowTest, ANewInvoiceIsMadeSavedOrCancelled)
{
    {
        ui::TFatturaImmediata window(
            m_environment, {QStringLiteral("TFatturaImmediata"), {}, {}, {{QStringLiteral("nuovo"), true}}});
        window.show();
        m_navigator.returnFrom(QStringLiteral("TClientiPreleva"), {true, m_customer, {}});
        window.customer()->setText(QStringLiteral("Ros"));
        pressEnter(window.customer());
        EXPECT_EQ(window.customer()->text(), QStringLiteral("Rossi Srl"));
        scanAndConfirm(window, QStringLiteral("2"));
        ASSERT_EQ(window.grid()->rowCount(), 1);
        EXPECT_EQ(window.grid()->item(0, 9)->text(), QStringLiteral("24,40"));
        EXPECT_EQ(stock(), 8);
        buttonCaptioned(window, QStringLiteral("Salva"))->click();
        EXPECT_EQ(window.result(), QDialog::Accepted) << m_dialogs.messages().join(u'\n').toStdString();
    }
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT NumDoc FROM fatture")).toInt(), 1);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM prima_nota WHERE saldato")).toInt(), 1);

    ui::TFatturaImmediata window(m_environment, {QStringLiteral("TFatturaImmediata")});
    window.show();
    m_navigator.returnFrom(QStringLiteral("TClientiPreleva"), {true, m_customer, {}});
    buttonCaptioned(window, QStringLiteral("Elenco"))->click();
    scanAndConfirm(window, QStringLiteral("3"));
    EXPECT_EQ(stock(), 5);
    window.exitButton()->click();
    EXPECT_EQ(window.result(), QDialog::Rejected);
    EXPECT_EQ(stock(), 8) << "Annulla gives the new invoice's stock back";
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM fatture")).toInt(), 1);
}

} // namespace
