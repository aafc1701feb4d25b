#include "registry/Cliente.h"

#include "tests/registry/RegistrySuite.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace carvendo;
using carvendo::testing::RegistrySuite;

namespace {

class ClienteEInvoiceTest : public RegistrySuite<ClienteEInvoiceTest>
{
protected:
    void fill(const char* kind, const char* piva, const char* cf, const char* code, const char* pec)
    {
        m_card.openNew();
        m_card.setValue(QStringLiteral("RagioneSociale"), QStringLiteral("Comune di Prova"));
        m_card.setValue(QStringLiteral("TipoCliente"), QString::fromLatin1(kind));
        m_card.setValue(QStringLiteral("pIva"), QString::fromLatin1(piva));
        m_card.setValue(QStringLiteral("CodFisc"), QString::fromLatin1(cf));
        m_card.setValue(QStringLiteral("CodiceDestinatario"), QString::fromLatin1(code));
        m_card.setValue(QStringLiteral("PEC"), QString::fromLatin1(pec));
    }
    int customers() { return db().scalar(QStringLiteral("SELECT COUNT(*) FROM clienti")).toInt(); }

    registry::Cliente m_card{company().db(), m_dialogs};
};

// What an electronic invoice needs of a company, a public administration and a private person.
TEST_F(ClienteEInvoiceTest, RecipientDataIsRefusedWithItsReasonAndNothingIsSaved)
{
    const struct
    {
        const char* kind;
        const char* piva;
        const char* cf;
        const char* code;
        const char* pec;
        const char* message;
    } refused[] = {
        {"AZ", "", "", "ABC1234", "", "Per un'azienda indicare la partita IVA."},
        {"PA", "", "80012345678", "ABC1234", "",
         "Per una pubblica amministrazione il codice destinatario (codice univoco ufficio) deve essere di 6 "
         "caratteri."},
        {"PA", "", "", "UFABCD", "", "Per una pubblica amministrazione indicare il codice fiscale."},
        {"AZ", "01234567897", "", "AB-1234", "",
         "Il codice destinatario può contenere solo lettere e cifre."},
        {"PF", "", "RSSMRA80A01H501U", "000000", "",
         "Il codice destinatario deve essere di 7 caratteri (\"0000000\" se non c'è)."},
        {"AZ", "01234567897", "", "0000000", "pec@@esempio", "L'indirizzo PEC non è valido."},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.message);
        fill(r.kind, r.piva, r.cf, r.code, r.pec);
        m_dialogs.clear();
        EXPECT_FALSE(m_card.save());
        EXPECT_EQ(m_dialogs.messages(), QStringList({QString::fromUtf8(r.message)}));
        EXPECT_EQ(customers(), 0);
    }
}

// A company with neither code nor PEC, or a private person without codice fiscale, is kept only
// after the operator says so; codes are stored in capitals.
TEST_F(ClienteEInvoiceTest, MissingWaysToReachTheCustomerAreAskedAbout)
{
    fill("AZ", "01234567897", "", "0000000", "");
    m_dialogs.answerConfirm(false);
    EXPECT_FALSE(m_card.save());
    EXPECT_EQ(
        m_dialogs.lastText(),
        QStringLiteral("Il cliente non ha né codice destinatario né PEC: le fatture elettroniche saranno "
                       "disponibili solo nel suo cassetto fiscale. Salvare comunque?"));
    EXPECT_EQ(customers(), 0);

    fill("PF", "", "", "0000000", "");
    m_dialogs.answerConfirm(false);
    EXPECT_FALSE(m_card.save());
    EXPECT_EQ(customers(), 0);

    fill("PA", "", "80012345678", "ufabcd", "");
    ASSERT_TRUE(m_card.save()) << m_dialogs.messages().join(u'\n').toStdString();
    EXPECT_EQ(
        db().scalar(QStringLiteral("SELECT CONCAT(TipoCliente, ':', CodiceDestinatario, ':', Nazione) FROM "
                                   "clienti WHERE idCliente = :ID"),
                    {{QStringLiteral("ID"), m_card.id()}})
            .toString(),
        QStringLiteral("PA:UFABCD:IT"));
}

} // namespace
