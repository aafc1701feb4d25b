#include "ui/stock/LoadWindows.h"

#include "tests/ui/WindowTestBench.h"

#include <QTableWidget>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class TRigheFatturaFornitoreTest : public ct::CompanySuite<TRigheFatturaFornitoreTest>,
                                   protected ct::WindowTestBench
{
protected:
    void SetUp() override
    {
        emptyTables({"articoli"});
        useCompany(company());
        logInWithAllPrivileges();
    }

    static einvoice::SupplierInvoiceLine line(int number, const char* code, const char* description)
    {
        einvoice::SupplierInvoiceLine read;
        read.numero = number;
        read.codici = {{QStringLiteral("Codice fornitore"), QLatin1String(code)}};
        read.descrizione = QLatin1String(description);
        read.quantita = 2;
        read.prezzoUnitario = core::Money::fromInt(12);
        return read;
    }
};

TEST_F(TRigheFatturaFornitoreTest, EachLineIsPickedCreatedOrSkippedAsTheButtonsSay)
{
    const int cable = insert("articoli", {{QStringLiteral("CodArticolo"), QStringLiteral("CV1")},
                                          {QStringLiteral("Descrizione"), QStringLiteral("CAVO USB-C")}});
    m_navigator.returnFrom(QStringLiteral("TArticoliPreleva"), {.accepted = true, .value = cable});
    ui::TRigheFatturaFornitore window(m_environment,
                                      {line(1, "X-1", "Cavo tipo C"), line(2, "X-2", "Auricolari BT"),
                                       line(3, "TRASP", "Spese di trasporto")});
    window.show();
    QTableWidget* list = window.list();
    list->selectRow(0);
    buttonCaptioned(window, QStringLiteral("Scegli articolo"))->click();
    list->selectRow(1);
    buttonCaptioned(window, QStringLiteral("Crea articolo"))->click();
    list->selectRow(2);
    buttonCaptioned(window, QStringLiteral("Crea articolo"))->click();
    buttonCaptioned(window, QStringLiteral("Salta"))->click();

    EXPECT_EQ(list->item(0, 5)->text(), QStringLiteral("CV1 - CAVO USB-C"));
    EXPECT_EQ(list->item(1, 5)->text(), QStringLiteral("Nuovo articolo"));
    EXPECT_EQ(list->item(2, 5)->text(), QStringLiteral("Non caricata"));
    const QList<stock::LineResolution>& decisions = window.logic().decisions();
    ASSERT_EQ(decisions.size(), 3);
    EXPECT_EQ(decisions[0].kind, stock::LineResolution::Kind::Pick);
    EXPECT_EQ(decisions[0].idArticolo, cable);
    EXPECT_EQ(decisions[1].kind, stock::LineResolution::Kind::Create);
    EXPECT_EQ(decisions[2].kind, stock::LineResolution::Kind::Skip);
    buttonCaptioned(window, QStringLiteral("Importa"))->click();
    EXPECT_EQ(window.result(), QDialog::Accepted);
}

} // namespace
