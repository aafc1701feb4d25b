#include "foundation/EInvoiceSettings.h"
#include "foundation/Config.h"
#include "foundation/LookupTables.h"

#include "core/Paths.h"
#include "core/Session.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/Workstation.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace carvendo::core;
using namespace carvendo::foundation;
using carvendo::testing::ScriptedDialogs;

namespace {

class EInvoiceSettingsTest : public carvendo::testing::CompanySuite<EInvoiceSettingsTest>
{
protected:
    void SetUp() override
    {
        m_db = company().newConnection();
        m_other = company().newConnection();
        m_db->exec(QStringLiteral("DROP TRIGGER IF EXISTS fatturapa_rifiuta"));
        m_db->exec(QStringLiteral("DELETE FROM fatturapa_configurazione"));
        m_db->exec(QStringLiteral(
            "INSERT INTO fatturapa_configurazione (id, RegimeFiscale, Provincia, REAUfficio, REANumero, "
            "ProssimoProgressivo) VALUES (1, 'RF01', 'RM', 'RM', '123456', 5)"));
        m_db->exec(QStringLiteral("DELETE FROM iva WHERE idIva > 5"));
        m_db->exec(QStringLiteral("UPDATE iva SET Natura = NULL WHERE Iva <> 0"));
        m_db->exec(QStringLiteral("UPDATE iva SET Natura = 'N4' WHERE Iva = 0"));
        m_db->exec(QStringLiteral("INSERT INTO iva (idIva, Iva, Codice, `Desc`, Natura) VALUES (6, 0, 'E', "
                                  "'Esente', 'N4')"));
    }

    QString stored(const char* column)
    {
        return m_db
            ->scalar(QStringLiteral("SELECT %1 FROM fatturapa_configurazione WHERE id = 1")
                         .arg(QString::fromLatin1(column)))
            .toString();
    }
    QString row()
    {
        return stored("CONCAT_WS('|', RegimeFiscale, Provincia, IFNULL(REAUfficio, '-'), REANumero, "
                      "ProssimoProgressivo, BolloImporto)");
    }
    QString vatRows()
    {
        return m_db
            ->scalar(
                QStringLiteral("SELECT GROUP_CONCAT(idIva, ':', Iva, ':', IFNULL(Natura, '-') ORDER BY idIva "
                               "SEPARATOR '|') FROM iva"))
            .toString();
    }

    std::unique_ptr<Db> m_db;
    std::unique_ptr<Db> m_other;
    ScriptedDialogs m_dialogs;
};

// Each wrong value is refused with its reason and the row stays as it was.
TEST_F(EInvoiceSettingsTest, WrongValuesAreRefusedAndNothingIsWritten)
{
    const QString before = row();
    const struct
    {
        const char* column;
        const char* value;
        const char* message;
    } refused[] = {
        {"RegimeFiscale", "RF03", "Scegliere il regime fiscale dall'elenco."},
        {"Provincia", "Roma", "La provincia deve essere la sigla di 2 lettere (es. MI)."},
        {"Nazione", "I1", "La nazione deve essere il codice di 2 lettere (es. IT)."},
        {"REAUfficio", "R1", "L'ufficio REA deve essere la sigla di 2 lettere della provincia (es. MI)."},
        {"CodFiscTrasmittente", "1234",
         "Il codice fiscale del trasmittente deve avere 11 o 16 lettere e cifre."},
        {"BolloImporto", "due", "Il campo \"Importo bollo\" deve essere un importo non negativo."},
        {"PecSdI", "sdi01 pec.fatturapa.it", "L'indirizzo PEC del Sistema di Interscambio non è valido."},
        {"ProssimoProgressivo", "4",
         "Il prossimo numero di trasmissione non può scendere: i numeri già usati non si riusano."},
    };
    for (const auto& r : refused) {
        EInvoiceSettings settings(*m_db, m_dialogs);
        ASSERT_TRUE(settings.load());
        m_dialogs.clear();
        settings.setValue(QString::fromLatin1(r.column), QString::fromUtf8(r.value));
        EXPECT_FALSE(settings.save()) << r.column;
        EXPECT_EQ(m_dialogs.messages(), QStringList({QString::fromUtf8(r.message)})) << r.column;
        EXPECT_EQ(row(), before) << r.column;
    }
}

// A database without its settings row: two workstations opening the page at once make one row.
TEST_F(EInvoiceSettingsTest, TwoWorkstationsOpeningThePageOnAnEmptyTableMakeOneRow)
{
    m_db->exec(QStringLiteral("DELETE FROM fatturapa_configurazione"));
    const auto observer = company().newConnection();
    ScriptedDialogs theirDialogs;
    {
        Transaction late(*m_db);
        EInvoiceSettings mine(*m_db, m_dialogs);
        ASSERT_TRUE(mine.load());
        carvendo::testing::Workstation there(*m_other);
        there.start([&](Db& db) { EXPECT_TRUE(EInvoiceSettings(db, theirDialogs).load()); });
        EXPECT_TRUE(there.waitsAtTable(*observer, QStringLiteral("fatturapa_configurazione")));
        late.commit();
        there.finish();
    }
    EXPECT_EQ(m_db->scalar(QStringLiteral("SELECT COUNT(*) FROM fatturapa_configurazione")).toInt(), 1);
}

// Only the columns changed in the window are written: another workstation's change stays.
TEST_F(EInvoiceSettingsTest, SavingKeepsWhatAnotherWorkstationChangedMeanwhile)
{
    EInvoiceSettings settings(*m_db, m_dialogs);
    ASSERT_TRUE(settings.load());
    m_other->exec(QStringLiteral("UPDATE fatturapa_configurazione SET REANumero = '999999' WHERE id = 1"));
    settings.setValue(QStringLiteral("Provincia"), QStringLiteral(" mi "));
    settings.setValue(QStringLiteral("REAUfficio"), QStringLiteral("mi"));
    settings.setValue(QStringLiteral("BolloImporto"), QStringLiteral("2,50"));
    ASSERT_TRUE(settings.save()) << m_dialogs.messages().join(u'\n').toStdString();
    EXPECT_EQ(row(), QStringLiteral("RF01|MI|MI|999999|5|2.50"));
}

// The counter only goes up, after asking; a number the export took meanwhile is never handed again,
// and a server failure half-way leaves every column as it was.
TEST_F(EInvoiceSettingsTest, TheTransmissionCounterOnlyGoesUpAndInOneTransaction)
{
    EInvoiceSettings settings(*m_db, m_dialogs);
    ASSERT_TRUE(settings.load());
    settings.setValue(QStringLiteral("ProssimoProgressivo"), 8);
    settings.setValue(QStringLiteral("Provincia"), QStringLiteral("TO"));
    m_other->exec(QStringLiteral("UPDATE fatturapa_configurazione SET ProssimoProgressivo = 9 WHERE id = 1"));
    m_dialogs.answerConfirm(true);
    EXPECT_FALSE(settings.save());
    EXPECT_EQ(
        m_dialogs.messages().last(),
        QStringLiteral("Il prossimo numero di trasmissione è già arrivato a 9: indicarne uno più alto."));
    EXPECT_EQ(row(), QStringLiteral("RF01|RM|RM|123456|9|2.00"));

    m_other->exec(
        QStringLiteral("CREATE TRIGGER fatturapa_rifiuta BEFORE UPDATE ON fatturapa_configurazione FOR "
                       "EACH ROW BEGIN IF NEW.Provincia = 'TO' THEN SIGNAL SQLSTATE '45000' SET "
                       "MESSAGE_TEXT = 'guasto'; END IF; END"));
    settings.setValue(QStringLiteral("ProssimoProgressivo"), 12);
    m_dialogs.clear();
    m_dialogs.answerConfirm(false);
    EXPECT_FALSE(settings.save()) << "the operator said no";
    EXPECT_EQ(row(), QStringLiteral("RF01|RM|RM|123456|9|2.00"));
    m_dialogs.answerConfirm(true);
    EXPECT_FALSE(settings.save());
    EXPECT_EQ(row(), QStringLiteral("RF01|RM|RM|123456|9|2.00")) << "the counter went back with the failure";

    m_other->exec(QStringLiteral("DROP TRIGGER fatturapa_rifiuta"));
    m_dialogs.answerConfirm(true);
    ASSERT_TRUE(settings.save());
    EXPECT_EQ(row(), QStringLiteral("RF01|TO|RM|123456|12|2.00"));
}

// A 0% rate says its nature; a rate above 0 has none, however the rate is reached.
TEST_F(EInvoiceSettingsTest, AVatRateAndItsNatureAgreeOrAreRefused)
{
    const QString zero = QStringLiteral("Per un'aliquota 0% indicare la natura IVA.");
    const QString above = QStringLiteral("La natura IVA si indica solo per un'aliquota 0%.");
    LookupStore store(*m_db);
    const QString before = vatRows();
    auto refusal = [](const std::function<void()>& command) {
        try {
            command();
        } catch (const LookupError& error) {
            return error.message();
        }
        return QString();
    };
    EXPECT_EQ(refusal([&] { store.add(Lookup::Iva, {{"Iva", "0"}, {"Desc", "Esente"}}); }), zero);
    EXPECT_EQ(refusal([&] {
                  store.add(Lookup::Iva, {{"Iva", "22"}, {"Desc", "IVA"}, {"Natura", "N4"}});
              }),
              above);
    const int zeroRow = 6;
    EXPECT_EQ(refusal([&] { store.update(Lookup::Iva, zeroRow, {{"Natura", ""}}); }), zero);
    EXPECT_EQ(refusal([&] { store.update(Lookup::Iva, 1, {{"Natura", "N2.2"}}); }), above);
    EXPECT_EQ(vatRows(), before);

    QTemporaryDir dir;
    Paths paths(dir.path(), dir.path());
    Session session;
    Config config(*m_db, paths, session, m_dialogs);
    m_dialogs.clear();
    m_dialogs.answerText(QStringLiteral("22"));
    EXPECT_FALSE(config.changeVatRate(config.list(Lookup::Iva).rowOfKey(zeroRow)));
    EXPECT_EQ(m_dialogs.messages(), QStringList({above}));
    EXPECT_EQ(vatRows(), before);

    const qint64 added = store.add(Lookup::Iva, {{"Iva", "0"}, {"Desc", "Non soggetta"}, {"Natura", "N2.2"}});
    EXPECT_EQ(vatRows(), before + QStringLiteral("|%1:0:N2.2").arg(added));
}

} // namespace
