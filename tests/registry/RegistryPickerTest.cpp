#include "RegistryPicker.h"

#include "RegistrySuite.h"

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
        m_damico = insertDamico();
        m_supplier = insertIdraulica();
    }

    int insertDamico()
    {
        db().exec(QStringLiteral(
                      "INSERT INTO clienti (CodiceCliente, RagioneSociale, Cognome, Nome, Indirizzo, Citta, Cap, ProvRes, "
                      "CodFisc, pIva, Telefono, email, Pagamento, Listino, idlistino, aliq_pers, aliquota, idAgente, Agente) "
                      "VALUES (12, 'D''Amico Sergio', 'D''Amico', 'Sergio', 'Via dell''Università 3', 'Forlì', '47121', "
                      "'FC', 'DMCSRG70C09D704K', '01234567897', '0543 123456', 'sergio@nuova-elettronica.it', "
                      "'RIMESSA DIRETTA', 'LISTINO2', '2', 1, 10, 4, 'Neri Paolo')"));
        return int(db().lastInsertId());
    }

    int insertIdraulica()
    {
        db().exec(QStringLiteral(
            "INSERT INTO fornitori (Codice, RagSoc, PIva, CodFisc, IndirizzoLeg, CapLeg, CittaLeg, ProvLeg, "
            "IndirizzoMerce, CapMerce, CittaMerce, ProvMerce, Pagamento, Iva, Email) VALUES ('9', 'L''Idraulica Srl', "
            "'12345678903', '12345678903', 'Via Roma 1', '00100', 'Roma', 'RM', 'Via Magazzini 7', '00118', 'Roma', "
            "'RM', 'BONIFICO 30 GG', '22', 'ordini@idraulica.it')"));
        return int(db().lastInsertId());
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

TEST_F(RegistryPickerTest, EveryCallerGetsTheKeyAndItsColumns)
{
    struct Case
    {
        const char* window;
        std::vector<const char*> callers;
        std::vector<std::pair<const char*, QVariant>> expected; // a sample of what the caller copies
        std::vector<const char*> absent;                        // and what it does not get
    };
    const QVariant noVariant;
    const std::vector<Case> cases{
        {"TClientiPreleva",
         {"Cantiere", "FatturaDifferita", "FatturaImmediata", "Preventivo", "DettDdt", "OrdineCliente", "Pos"},
         {{"CodiceCliente", 12}, {"RagioneSociale", QStringLiteral("D'Amico Sergio")},
          {"Indirizzo", QStringLiteral("Via dell'Università 3")}, {"Citta", QStringLiteral("Forlì")},
          {"pIva", QStringLiteral("01234567897")}, {"Pagamento", QStringLiteral("RIMESSA DIRETTA")},
          {"Listino", QStringLiteral("LISTINO2")}, {"aliquota", 10}, {"idAgente", 4}},
         {}},
        {"TClientiPreleva",
         {"AssistenzaScheda", "AssistenzaSchedaSub"},
         {{"RagioneSociale", QStringLiteral("D'Amico Sergio")}, {"Telefono", QStringLiteral("0543 123456")},
          {"email", QStringLiteral("sergio@nuova-elettronica.it")}},
         {"Listino", "Pagamento"}},
        {"TClientiPreleva", {"Scadenza", "RiepiloghiCat"}, {{"CodiceCliente", 12}, {"RagioneSociale", QStringLiteral("D'Amico Sergio")}},
         {"Indirizzo"}},
        {"TClientiPrelDest",
         {"FatturaImmediata", "Preventivo", "DettDdt"},
         {{"RagioneSociale", QStringLiteral("D'Amico Sergio")}, {"Indirizzo", QStringLiteral("Via dell'Università 3")},
          {"Cap", QStringLiteral("47121")}, {"ProvRes", QStringLiteral("FC")}},
         {"pIva", "Listino"}},
        {"TFornitoriPreleva",
         {"Carico", "OrdineFornitore", "DettDdt", "CatRientroForn", "Rma"},
         {{"Codice", QStringLiteral("9")}, {"RagSoc", QStringLiteral("L'Idraulica Srl")},
          {"PIva", QStringLiteral("12345678903")}, {"CittaLeg", QStringLiteral("Roma")},
          {"Pagamento", QStringLiteral("BONIFICO 30 GG")}, {"Iva", QStringLiteral("22")}},
         {"IndirizzoMerce"}},
        {"TFornitoriPreleva", {"Articoli", "Scadenza", "Articolo_New"}, {{"RagSoc", QStringLiteral("L'Idraulica Srl")}},
         {"PIva"}},
        {"TFornitoriPrelDest",
         {"Carico", "Articoli", "OrdineFornitore", "DettDdt", "CatRientroForn", "Rma", "Scadenza", "Articolo_New"},
         {{"RagSoc", QStringLiteral("L'Idraulica Srl")}, {"IndirizzoMerce", QStringLiteral("Via Magazzini 7")},
          {"CapMerce", QStringLiteral("00118")}},
         {"PIva"}},
    };
    for (const Case& c : cases) {
        for (const char* caller : c.callers) {
            RegistryPicker chooser = picker(c.window, caller);
            const int key = chooser.kind().isCustomers() ? m_damico : m_supplier;
            const QString where = QStringLiteral("%1 <- %2").arg(QString::fromLatin1(c.window), QString::fromLatin1(caller));
            ASSERT_TRUE(chooser.choose(key)) << where.toStdString();
            const core::NavigationResult& result = chooser.result();
            EXPECT_TRUE(result.accepted);
            EXPECT_EQ(result.value.toInt(), key) << where.toStdString();
            EXPECT_EQ(result.values.value(chooser.kind().key).toInt(), key) << where.toStdString();
            for (const auto& [column, value] : c.expected)
                EXPECT_EQ(result.values.value(QString::fromLatin1(column)).toString(), value.toString())
                    << where.toStdString() << " " << column;
            for (const char* column : c.absent)
                EXPECT_FALSE(result.values.contains(QString::fromLatin1(column))) << where.toStdString() << " " << column;
        }
    }
    EXPECT_TRUE(m_dialogs.events().empty());
}

TEST_F(RegistryPickerTest, TheCallerListsAreThoseOfTheWindows)
{
    EXPECT_EQ(PickerContract::callers(QStringLiteral("TClientiPreleva")),
              (QStringList{"Cantiere", "FatturaDifferita", "FatturaImmediata", "Preventivo", "DettDdt", "OrdineCliente",
                           "Pos", "Scadenza", "AssistenzaScheda", "AssistenzaSchedaSub", "RiepiloghiCat"}));
    EXPECT_EQ(PickerContract::callers(QStringLiteral("TClientiPrelDest")),
              (QStringList{"FatturaImmediata", "Preventivo", "DettDdt"}));
    EXPECT_EQ(PickerContract::callers(QStringLiteral("TFornitoriPreleva")),
              (QStringList{"Carico", "Articoli", "OrdineFornitore", "DettDdt", "CatRientroForn", "Rma", "Scadenza",
                           "Articolo_New"}));
    EXPECT_EQ(PickerWindow::all().size(), 4);
    EXPECT_EQ(PickerWindow::find(QStringLiteral("TClienti")), nullptr);
}

TEST_F(RegistryPickerTest, AnUnknownCallerOrAVanishedRecordHandsNothingBack)
{
    RegistryPicker wrong = picker("TClientiPrelDest", "Pos");
    EXPECT_FALSE(wrong.choose(m_damico));
    EXPECT_FALSE(wrong.result().accepted);
    EXPECT_EQ(m_dialogs.lastText(), QStringLiteral("Questa finestra non può consegnare la scelta a \"Pos\"."));

    RegistryPicker chooser = picker("TClientiPreleva", "Pos");
    chooser.open();
    db().exec(QStringLiteral("DELETE FROM clienti"));
    EXPECT_FALSE(chooser.choose(m_damico));
    EXPECT_FALSE(chooser.result().accepted);
    EXPECT_EQ(m_dialogs.lastText(), QStringLiteral("Il record scelto non esiste più: aggiornare l'elenco."));
    EXPECT_TRUE(chooser.rows().isEmpty());
}

TEST_F(RegistryPickerTest, SearchFindsApostrophesAndTuttiShowsAll)
{
    db().exec(QStringLiteral("INSERT INTO clienti (CodiceCliente, RagioneSociale) VALUES (13, 'Bianchi Luca')"));
    RegistryPicker chooser = picker("TClientiPreleva", "FatturaImmediata");
    chooser.find(QStringLiteral("d'amico"));
    ASSERT_EQ(chooser.rows().size(), 1);
    EXPECT_EQ(chooser.rows().value(0, "idCliente").toInt(), m_damico);
    chooser.showAll();
    EXPECT_EQ(chooser.rows().size(), 2);
}

TEST_F(RegistryPickerTest, ANewCustomerGetsTheNextCodeAndFirstPriceList)
{
    RegistryPicker chooser = picker("TClientiPreleva", "Preventivo");
    m_navigator.whenOpened(QStringLiteral("TCliente"), [&](const core::NavigationRequest& request) {
        db().exec(QStringLiteral("UPDATE clienti SET RagioneSociale = 'Esposito Anna' WHERE idCliente = :ID"),
                  {{QStringLiteral("ID"), request.key}});
        return core::NavigationResult{true, request.key};
    });
    const QVariant key = chooser.newRecord();
    ASSERT_TRUE(key.isValid());
    const core::Rows made = db().query(QStringLiteral("SELECT CodiceCliente, Listino FROM clienti WHERE idCliente = :ID"),
                                       {{QStringLiteral("ID"), key}});
    EXPECT_EQ(made.value(0, "CodiceCliente").toInt(), 13);
    EXPECT_EQ(made.value(0, "Listino").toString(), QStringLiteral("LISTINO1"));
    EXPECT_EQ(m_navigator.requests().at(0).caller, QStringLiteral("TClientiPreleva"));
    ASSERT_EQ(chooser.rows().size(), 1);
    EXPECT_EQ(chooser.rows().value(0, "RagioneSociale").toString(), QStringLiteral("Esposito Anna"));
}

TEST_F(RegistryPickerTest, ANewSupplierIsTheOneTheCardSaved)
{
    RegistryPicker chooser = picker("TFornitoriPreleva", "Carico");
    m_navigator.whenOpened(QStringLiteral("TFornitore"), [&](const core::NavigationRequest&) { return core::NavigationResult{}; });
    EXPECT_TRUE(chooser.newRecord().isNull()); // left without saving

    m_navigator.whenOpened(QStringLiteral("TFornitore"), [&](const core::NavigationRequest&) {
        db().exec(QStringLiteral("INSERT INTO fornitori (Codice, RagSoc) VALUES ('10', 'Nuova Elettronica')"));
        return core::NavigationResult{};
    });
    const QVariant key = chooser.newRecord();
    EXPECT_EQ(key.toInt(), int(db().scalar(QStringLiteral("SELECT id_fornitore FROM fornitori WHERE Codice = '10'")).toInt()));
    EXPECT_EQ(chooser.rows().value(0, "RagSoc").toString(), QStringLiteral("Nuova Elettronica"));
}

TEST_F(RegistryPickerTest, DeletingAsksFirst)
{
    RegistryPicker chooser = picker("TClientiPreleva", "Pos");
    chooser.open();
    m_dialogs.answerConfirm(false).answerConfirm(true);
    EXPECT_FALSE(chooser.deleteRecord(m_damico));
    EXPECT_TRUE(chooser.deleteRecord(m_damico));
    EXPECT_EQ(m_dialogs.texts(ct::DialogEvent::Kind::Confirm),
              (QStringList{QStringLiteral("Eliminare il cliente?"), QStringLiteral("Eliminare il cliente?")}));
    EXPECT_TRUE(chooser.rows().isEmpty());
}

} // namespace
