#include "registry/RegistryPicker.h"

#include "registry/Cliente.h"

#include "tests/registry/RegistrySuite.h"

#include <gtest/gtest.h>

using namespace carvendo;
using registry::PickerContract;
using registry::PickerWindow;
using registry::RegistryPicker;
namespace ct = carvendo::testing;

namespace {

class RegistryPickerTest : public ct::RegistrySuite<RegistryPickerTest>
{
protected:
    void SetUp() override
    {
        RegistrySuite::SetUp();
        db().exec(QStringLiteral(
            "INSERT INTO clienti (CodiceCliente, RagioneSociale, Indirizzo, Cap, ProvRes, Telefono, email, "
            "Listino, "
            "aliquota, idAgente) VALUES (12, 'D''Amico Sergio', 'Via dell''Università 3', '47121', 'FC', "
            "'0543 123456', 'sergio@nuova-elettronica.it', 'LISTINO2', 10, 4)"));
        m_damico = int(db().lastInsertId());
        db().exec(QStringLiteral("INSERT INTO fornitori (Codice, RagSoc, PIva, IndirizzoMerce, Iva) VALUES "
                                 "('9', 'L''Idraulica Srl', '12345678903', 'Via Magazzini 7', '22')"));
        m_supplier = int(db().lastInsertId());
    }

    RegistryPicker picker(const char* window, const char* caller)
    {
        const PickerWindow* found = PickerWindow::find(QString::fromLatin1(window));
        EXPECT_NE(found, nullptr) << window;
        return RegistryPicker(*found, QString::fromLatin1(caller), db(), m_session, m_dialogs, m_navigator);
    }

    int m_damico = 0;
    int m_supplier = 0;
};

TEST_F(RegistryPickerTest, CallersGetTheKeyAndTheirOwnColumns)
{
    struct Case
    {
        const char* window;
        std::vector<const char*> callers;
        std::vector<std::pair<const char*, QVariant>> expected; // a sample of what the caller copies
        std::vector<const char*> absent;                        // and what it does not get
    };
    const std::vector<Case> cases{
        {"TClientiPreleva",
         {"FatturaImmediata"},
         {{"Listino", QStringLiteral("LISTINO2")}, {"idAgente", 4}},
         {}},
        {"TClientiPreleva",
         {"AssistenzaScheda"},
         {{"Telefono", QStringLiteral("0543 123456")}},
         {"Listino", "Pagamento"}},
        {"TFornitoriPrelDest",
         {"Carico", "Articoli"},
         {{"IndirizzoMerce", QStringLiteral("Via Magazzini 7")}},
         {"PIva"}},
    };
    for (const Case& c : cases) {
        for (const char* caller : c.callers) {
            RegistryPicker chooser = picker(c.window, caller);
            const int key = chooser.kind().isCustomers() ? m_damico : m_supplier;
            const QString where =
                QStringLiteral("%1 <- %2").arg(QString::fromLatin1(c.window), QString::fromLatin1(caller));
            ASSERT_TRUE(chooser.choose(key)) << where.toStdString();
            const core::NavigationResult& result = chooser.result();
            EXPECT_EQ(result.value.toInt(), key) << where.toStdString();
            EXPECT_EQ(result.values.value(chooser.kind().key).toInt(), key) << where.toStdString();
            for (const auto& [column, value] : c.expected)
                EXPECT_EQ(result.values.value(QString::fromLatin1(column)).toString(), value.toString())
                    << where.toStdString() << " " << column;
            for (const char* column : c.absent)
                EXPECT_FALSE(result.values.contains(QString::fromLatin1(column)))
                    << where.toStdString() << " " << column;
        }
    }
}

TEST_F(RegistryPickerTest, AnUnknownCallerOrAVanishedRecordHandsNothingBack)
{
    RegistryPicker wrong = picker("TClientiPrelDest", "Pos");
    EXPECT_FALSE(wrong.choose(m_damico));
    EXPECT_FALSE(wrong.result().accepted);
    EXPECT_EQ(m_dialogs.lastText(),
              QStringLiteral("Questa finestra non può consegnare la scelta a \"Pos\"."));

    RegistryPicker chooser = picker("TClientiPreleva", "Pos");
    chooser.open();
    db().exec(QStringLiteral("DELETE FROM clienti"));
    EXPECT_FALSE(chooser.choose(m_damico));
    EXPECT_FALSE(chooser.result().accepted);
    EXPECT_EQ(m_dialogs.lastText(), QStringLiteral("Il record scelto non esiste più: aggiornare l'elenco."));
}

TEST_F(RegistryPickerTest, ANewCustomerIsWrittenOnlyWhenItsCardIsSaved)
{
    RegistryPicker chooser = picker("TClientiPreleva", "Preventivo");
    // The card left unsaved: no customer is made.
    m_navigator.whenOpened(QStringLiteral("TCliente"), [&](const core::NavigationRequest& request) {
        EXPECT_TRUE(request.key.isNull());
        return core::NavigationResult{};
    });
    EXPECT_TRUE(chooser.newRecord().isNull());
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM clienti")).toInt(), 1);

    // The card saved: the customer has the next code and the first price list.
    m_navigator.whenOpened(QStringLiteral("TCliente"), [&](const core::NavigationRequest&) {
        registry::Cliente card(db(), m_dialogs);
        card.setValue(QStringLiteral("RagioneSociale"), QStringLiteral("Esposito Anna"));
        card.setValue(QStringLiteral("CodFisc"), QStringLiteral("SPSNNA80A41F839U"));
        EXPECT_TRUE(card.save());
        return core::NavigationResult{true, card.id()};
    });
    const QVariant key = chooser.newRecord();
    ASSERT_TRUE(key.isValid());
    ASSERT_EQ(chooser.rows().size(), 1);
    EXPECT_EQ(chooser.rows().value(0, "RagioneSociale").toString(), QStringLiteral("Esposito Anna"));
}

} // namespace
