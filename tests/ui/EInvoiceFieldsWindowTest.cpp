#include "ui/foundation/EInvoicePage.h"
#include "ui/foundation/TConfig.h"
#include "ui/registry/TCliente.h"

#include "tests/support/QtPrinters.h"
#include "tests/ui/WindowTestBench.h"
#include "ui/common/CardForm.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class EInvoiceFieldsWindowTest : public ct::CompanySuite<EInvoiceFieldsWindowTest>,
                                 protected ct::WindowTestBench
{
protected:
    void SetUp() override
    {
        emptyTables({"clienti"});
        useCompany(company());
    }
};

// The settings window's page saves what was typed, codes in capitals and amounts with a comma.
TEST_F(EInvoiceFieldsWindowTest, TheCompanyPageSavesWhatWasTyped)
{
    ui::TConfig window(m_environment, db());
    window.show();
    auto* page = window.findChild<ui::EInvoicePage*>(QStringLiteral("fatturaElettronica"));
    ASSERT_NE(page, nullptr);
    auto* regime = qobject_cast<QComboBox*>(page->form()->editor(QStringLiteral("RegimeFiscale")));
    ASSERT_NE(regime, nullptr);
    EXPECT_EQ(regime->currentText(), QStringLiteral("RF01 Ordinario"));
    regime->setCurrentIndex(regime->findText(QStringLiteral("RF19 Forfettario")));
    type(page->form()->editor(QStringLiteral("Provincia")), QStringLiteral("mi"));
    qobject_cast<QLineEdit*>(page->form()->editor(QStringLiteral("BolloSoglia")))->clear();
    type(page->form()->editor(QStringLiteral("BolloSoglia")), QStringLiteral("80,00"));
    page->findChild<QPushButton*>(QStringLiteral("salvaFatturaElettronica"))->click();
    EXPECT_EQ(m_dialogs.messages(), QStringList());
    EXPECT_EQ(
        db().scalar(QStringLiteral("SELECT CONCAT(RegimeFiscale, ':', Provincia, ':', BolloSoglia) FROM "
                                   "fatturapa_configurazione ORDER BY id LIMIT 1"))
            .toString(),
        QStringLiteral("RF19:MI:80.00"));
    window.reject();
}

// The customer card's kind is chosen by its words and stored as its code.
TEST_F(EInvoiceFieldsWindowTest, TheCustomerCardStoresTheKindAndRecipientCode)
{
    ui::TCliente window(m_environment, {QStringLiteral("TCliente")});
    window.show();
    ui::CardForm& form = window.personalForm();
    auto* kind = qobject_cast<QComboBox*>(form.editor(QStringLiteral("TipoCliente")));
    ASSERT_NE(kind, nullptr);
    EXPECT_EQ(kind->currentText(), QStringLiteral("Privato"));
    kind->setCurrentIndex(kind->findText(QStringLiteral("Azienda")));
    type(form.editor(QStringLiteral("RagioneSociale")), QStringLiteral("Elettronica Rossi Srl"));
    type(form.editor(QStringLiteral("pIva")), QStringLiteral("01234567897"));
    auto* code = qobject_cast<QLineEdit*>(form.editor(QStringLiteral("CodiceDestinatario")));
    EXPECT_EQ(code->text(), QStringLiteral("0000000"));
    code->clear();
    type(code, QStringLiteral("abc1234"));
    buttonCaptioned(window, QStringLiteral("Salva"))->click();
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT CONCAT(TipoCliente, ':', CodiceDestinatario) FROM clienti"))
                  .toString(),
              QStringLiteral("AZ:ABC1234"));
}

} // namespace
