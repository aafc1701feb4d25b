#include "ui/stock/LoadWindows.h"

#include "tests/ui/WindowTestBench.h"

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class TCaricoWindowTest : public ct::CompanySuite<TCaricoWindowTest>, protected ct::WindowTestBench
{
protected:
    void SetUp() override
    {
        emptyTables({"carichi", "dettcarico", "acquisti", "articoli", "giacenze", "fornitori", "pagamenti",
                     "prima_nota", "magazzini"});
        db().exec(QStringLiteral("INSERT INTO magazzini (idMagazzino, Descrizione) VALUES (1, 'NEGOZIO')"));
        db().exec(QStringLiteral("INSERT INTO fornitori (id_fornitore, RagSoc, Pagamento) VALUES "
                                 "(7, 'TELEFONIA SPA', 'CONTANTI')"));
        db().exec(
            QStringLiteral("INSERT INTO pagamenti (Descrizione, modalita) VALUES ('CONTANTI', 'Contanti')"));
        db().exec(
            QStringLiteral("INSERT INTO articoli (CodArticolo, Descrizione, BarcodeFull, UM, UMVENDITA, "
                           "Aliquota, PrezzoAcqnoiva, Fornitore, giacenza) VALUES ('CV1', 'CAVO USB-C', "
                           "'8001122334455', 'PZ', 'PZ', 22, 3.5, 'TELEFONIA SPA', 0)"));
        useCompany(company());
        logInWithAllPrivileges(core::Warehouse{1, QStringLiteral("NEGOZIO")});
        m_navigator.returnFrom(QStringLiteral("TFornitoriPreleva"), {.accepted = true, .value = 7});
    }
};

TEST_F(TCaricoWindowTest, NewLoadFromTheListScannedConfirmedAndSaved)
{
    ui::TCarichi list(m_environment, {QStringLiteral("TCarichi")});
    list.show();
    m_navigator.whenOpened(QStringLiteral("TCarico"), [&](const core::NavigationRequest& request) {
        ui::TCarico window(m_environment, request);
        window.show();
        buttonCaptioned(window, QStringLiteral("Fornitore..."))->click();
        type(window.barcode(), QStringLiteral("8001122334455"));
        pressEnter(window.barcode());
        ui::TCaricoDialogo* row = window.rowDialog();
        EXPECT_NE(row, nullptr);
        if (!row)
            return core::NavigationResult{};
        auto* quantity = child<QLineEdit>(*row, "quantita");
        quantity->setText(QStringLiteral("4"));
        buttonCaptioned(*row, QStringLiteral("Conferma"))->click();
        QCoreApplication::processEvents();
        EXPECT_EQ(window.grid()->model()->rowCount(), 1);
        buttonCaptioned(window, QStringLiteral("Salva"))->click();
        return core::NavigationResult{.accepted = window.result() == QDialog::Accepted};
    });
    buttonCaptioned(list, QStringLiteral("Nuovo"))->click();

    EXPECT_EQ(m_dialogs.messages(), QStringList{});
    EXPECT_EQ(list.grid()->model()->rowCount(), 1);
    EXPECT_EQ(
        db().scalar(QStringLiteral("SELECT CONCAT(Fornitore, '/', totaledocumento) FROM carichi")).toString(),
        QStringLiteral("TELEFONIA SPA/17.08"));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT giacenza FROM giacenze")).toDouble(), 4.0);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM prima_nota WHERE risorsa = 'CASSA'")).toInt(),
              1);
}

} // namespace
