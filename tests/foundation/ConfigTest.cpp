#include "foundation/Config.h"

#include "core/Paths.h"
#include "core/Session.h"
#include "foundation/ImpostazioniIni.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace carvendo::core;
using namespace carvendo::foundation;
using carvendo::testing::DialogEvent;
using carvendo::testing::ScriptedDialogs;

namespace {

class ConfigTest : public carvendo::testing::CompanySuite<ConfigTest>
{
protected:
    void SetUp() override
    {
        m_db = company().newConnection();
        m_db->exec(QStringLiteral("DELETE FROM suffissi_doc WHERE suffisso <> ''"));
        m_db->exec(QStringLiteral("DELETE FROM articoli"));
        m_db->exec(QStringLiteral("DELETE FROM marchi"));
        m_db->exec(QStringLiteral("DELETE FROM iva WHERE idIva > 5"));
        m_db->exec(QStringLiteral("UPDATE iva SET Iva = 22, `Desc` = 'IVA 22%' WHERE idIva = 1"));
        m_paths = std::make_unique<Paths>(m_dir.path(), m_dir.path());
        m_config = std::make_unique<Config>(*m_db, *m_paths, m_session, m_dialogs);
    }

    void allowDeleting(bool allowed)
    {
        Privileges privileges;
        privileges.set(Privilege::Cancellazione, allowed);
        m_session.logIn(Operator{1, "Amministratore", "admin", "admin", "AMMINISTRATORI"},
                        Warehouse{1, "MAGAZZINO CENTRALE"}, privileges);
    }

    QStringList suffixes()
    {
        return carvendo::testing::rowsAsText(*m_db,
                                             QStringLiteral("SELECT suffisso FROM suffissi_doc ORDER BY id"));
    }

    int vatRow(int idIva) { return m_config->list(Lookup::Iva).rowOfKey(idIva); }

    QByteArray impostazioniText() const { return carvendo::testing::readFile(m_paths->impostazioniIni()); }
    Field value(const char* sql) { return m_db->scalar(QString::fromUtf8(sql)); }

    QTemporaryDir m_dir;
    std::unique_ptr<Paths> m_paths;
    std::unique_ptr<Db> m_db;
    Session m_session;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<Config> m_config;
};

TEST_F(ConfigTest, SuffixAnswersThatAddNothing)
{
    const struct
    {
        std::optional<const char*> answer; // nullopt: the box is cancelled
        const char* message;               // "" when nothing is said
    } cases[] = {
        {std::nullopt, ""},
        {"abcd", "Il suffisso può avere al massimo 3 caratteri"},
        {"A/", "Il suffisso può contenere solo lettere e cifre"},
        {"c", ""}, // added upper-cased; the next one repeats it
        {" C ", "La numerazione \"C\" esiste già"},
    };
    for (const auto& c : cases) {
        m_dialogs.clear();
        if (c.answer)
            m_dialogs.answerText(QString::fromUtf8(*c.answer));
        else
            m_dialogs.answerCancel();
        m_config->addSuffix();
        EXPECT_EQ(m_dialogs.messages().join(u'|'), QString::fromUtf8(c.message))
            << (c.answer ? *c.answer : "(annulla)");
    }
    EXPECT_EQ(suffixes(), QStringList({"", "C"}));
    EXPECT_EQ(m_config->list(Lookup::SuffissiDoc).rowCount(), 2) << "the list shows it at once";
}

// Description and rate change on every row that shares them, never on the others.
TEST_F(ConfigTest, VatDescriptionAndRateChangeEveryRowSharingThem)
{
    m_db->exec(QStringLiteral("INSERT INTO iva (idIva, Iva, Codice, `Desc`) VALUES (6, 21, '21', 'IVA 22%'), "
                              "(7, 22, '22B', 'IVA 22% agricola')"));
    m_config->list(Lookup::Iva).reload();
    m_dialogs.answerText(QStringLiteral("Aliquota ordinaria"));
    EXPECT_TRUE(m_config->changeVatDescription(vatRow(1)));
    m_dialogs.answerText(QStringLiteral(" 23 "));
    EXPECT_TRUE(m_config->changeVatRate(vatRow(1)));
    const char* rates =
        "SELECT GROUP_CONCAT(idIva, ':', Iva, ':', `Desc` ORDER BY idIva SEPARATOR '|') FROM iva "
        "WHERE idIva IN (1, 2, 6, 7)";
    const QString changed =
        "1:23:Aliquota ordinaria|2:10:IVA 10%|6:21:Aliquota ordinaria|7:23:IVA 22% agricola";
    EXPECT_EQ(value(rates).toString(), changed);

    const struct
    {
        bool rate;
        const char* answer;
        const char* message;
    } refused[] = {
        {false, "", "Il campo \"Descrizione\" è obbligatorio"},
        {true, "22,5", "L'aliquota deve essere un numero intero"},
        {true, "150", "L'aliquota deve essere compresa tra 0 e 100"},
    };
    for (const auto& r : refused) {
        m_dialogs.clear();
        m_dialogs.answerText(QString::fromUtf8(r.answer));
        EXPECT_FALSE(r.rate ? m_config->changeVatRate(vatRow(2)) : m_config->changeVatDescription(vatRow(2)));
        EXPECT_EQ(m_dialogs.messages(), QStringList({QString::fromUtf8(r.message)})) << r.answer;
    }
    EXPECT_EQ(value(rates).toString(), changed);
}

TEST_F(ConfigTest, AggiornaRepartiArticoliGivesEachItemTheDepartmentOfItsRate)
{
    m_db->exec(QStringLiteral("UPDATE reparti SET descrizione = 'Alimentari' WHERE idreparto = 2"));
    m_db->exec(QStringLiteral(
        "INSERT INTO articoli (CodArticolo, Aliquota) VALUES ('B22', 22), ('A10', 10), ('A7', 7)"));

    EXPECT_TRUE(m_config->updateItemDepartments());
    EXPECT_EQ(m_dialogs.messages(), QStringList({"Reparti degli articoli aggiornati"}));

    // 22% is the rate of REPARTO1 and of REPARTO6..10: the first department is the rate's.
    EXPECT_EQ(
        value("SELECT GROUP_CONCAT(CodArticolo, ':', COALESCE(reparto, ''), ':', COALESCE(repartodesc, '') "
              "ORDER BY CodArticolo SEPARATOR '|') FROM articoli")
            .toString(),
        "A10:REPARTO2:Alimentari|A7::|B22:REPARTO1:REPARTO1");
}

TEST_F(ConfigTest, EtichetteChecksTheStartingBarcodeAgainstTheStandard)
{
    const struct
    {
        const char* standard;
        const char* start;
        const char* message; // "" when saved
    } cases[] = {
        {"Ean13", "1234567890123",
         "Con lo standard EAN 13 il barcode di partenza può avere al massimo 12 cifre"},
        {"Ean13", "80050010a200", "Il barcode di partenza deve contenere solo cifre"},
        {"Ean8", "1234567", "Impostazioni salvate"},
    };
    for (const auto& c : cases) {
        m_dialogs.clear();
        m_config->saveLabelSettings(LabelSettings{
            QString::fromLatin1(c.standard), QString::fromLatin1(c.start), QStringLiteral("Brother QL-550")});
        EXPECT_EQ(m_dialogs.messages(), QStringList({QString::fromUtf8(c.message)}))
            << c.standard << " " << c.start;
    }
    EXPECT_EQ(value("SELECT BarcodeArticolo FROM contatori").toString(), "1234567");
    const ImpostazioniIni ini(m_paths->impostazioniIni());
    EXPECT_EQ(ini.text(ImpostazioniKeys::barcode()), "Ean8");
    EXPECT_EQ(ini.text(ImpostazioniKeys::etichettatrice()), "Brother QL-550");
}

TEST_F(ConfigTest, PreferencesAreWrittenOnCloseWithTheirExactKeysAndReadBack)
{
    Preferences p = m_config->preferences();
    p.skinName = QStringLiteral("Mac");
    p.prezziDdt = true;
    p.splash = true;
    p.ivaInclusaInScarico = true;
    p.disconnettiOperatore = true;
    p.disconnessioneDopo = QStringLiteral("5 minuti");
    p.interfacciaPos = QStringLiteral("Classica");
    p.tuttoSchermo = true;
    m_config->setPreferences(p);
    EXPECT_TRUE(m_config->close());

    EXPECT_EQ(impostazioniText(), "[Impostazioni]\r\n"
                                  "SkinName=Mac\r\n"
                                  "Prezzi_Ddt=1\r\n"
                                  "Promemoria=0\r\n"
                                  "Splash=1\r\n"
                                  "3 Decimali=0\r\n"
                                  "Iva Inclusa in Scarico=1\r\n"
                                  "Operatore Pos Richiesto=0\r\n"
                                  "Disconnessione Operatore Automatica=1\r\n"
                                  "Disconnessione dopo=5 minuti\r\n"
                                  "Interfaccia Pos=Classica\r\n"
                                  "Pos Tutto Schermo=1\r\n");
    const Config reopened(*m_db, *m_paths, m_session, m_dialogs);
    EXPECT_EQ(reopened.preferences(), p);
}

TEST_F(ConfigTest, AspettoGraficoSavesOnlyTheSkinAndTheThreeStartUpSwitches)
{
    Preferences p = m_config->preferences();
    p.skinName = QStringLiteral("Natale");
    p.promemoria = true;
    p.treDecimali = true; // saved only when the window closes
    m_config->setPreferences(p);
    EXPECT_TRUE(m_config->saveAppearance());
    EXPECT_EQ(m_dialogs.messages(), QStringList({"Impostazioni salvate"}));
    EXPECT_EQ(impostazioniText(), "[Impostazioni]\r\n"
                                  "SkinName=Natale\r\n"
                                  "Prezzi_Ddt=0\r\n"
                                  "Promemoria=1\r\n"
                                  "Splash=0\r\n");
}

TEST_F(ConfigTest, DeletingARowNeedsThePrivilegeAndAConfirmation)
{
    LookupEditor& brands = m_config->list(Lookup::Marchi);
    ASSERT_TRUE(brands.add({{"Descrizione", "ACME"}}).has_value());

    allowDeleting(false);
    m_dialogs.clear();
    EXPECT_FALSE(brands.remove(0));
    EXPECT_EQ(m_dialogs.messages(), QStringList({"Non possiedi i privilegi per eseguire questa operazione"}));
    EXPECT_TRUE(m_dialogs.texts(DialogEvent::Kind::Confirm).isEmpty()) << "refused before asking";

    allowDeleting(true);
    m_dialogs.clear();
    m_dialogs.answerConfirm(false);
    EXPECT_FALSE(brands.remove(0));
    EXPECT_EQ(m_dialogs.texts(DialogEvent::Kind::Confirm), QStringList({"Eliminare il record selezionato?"}));
    EXPECT_EQ(value("SELECT COUNT(*) FROM marchi").toInt(), 1);

    m_dialogs.answerConfirm(true);
    EXPECT_TRUE(brands.remove(0));
    EXPECT_EQ(value("SELECT COUNT(*) FROM marchi").toInt(), 0);
}

} // namespace
