#include "ui/documents/TFatture.h"

#include "schema/CompanyTemplate.h"
#include "tests/ui/WindowTestBench.h"

#include <QDir>
#include <QMenu>

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
    window.grid()->selectRow(1);
    child<QPushButton>(window, "nuova")->click();
    EXPECT_EQ(grid->index(window.grid()->currentIndex().row(), 3).data().toString(),
              QStringLiteral("Rossi Srl"))
        << "the list read again after a command stays on the invoice chosen";

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

// The shop in the directory and two invoices to a business customer, as the electronic invoice needs.
class TFattureElectronicTest : public ct::CompanySuite<TFattureElectronicTest>, protected ct::WindowTestBench
{
protected:
    static void SetUpTestSuite()
    {
        CompanySuite::SetUpTestSuite();
        s_directory = std::make_unique<ct::ScratchDatabase>(QStringLiteral("dir"));
        s_directory->db().runScript(schema::CompanyTemplate::directoryScript());
        s_directory->db().exec(
            QStringLiteral("INSERT INTO aziende (ragionesociale, indirizzo, cap, citta, piva, codfisc, "
                           "databasename) VALUES ('Telefonia Rossi', 'Via Roma 1', '00184', 'Roma', "
                           "'01234567890', '01234567890', :DB)"),
            {{QStringLiteral("DB"), company().name()}});
    }
    static void TearDownTestSuite()
    {
        s_directory.reset();
        CompanySuite::TearDownTestSuite();
    }

    void SetUp() override
    {
        emptyTables({"fatture", "dettfattura", "clienti"});
        db().exec(
            QStringLiteral("UPDATE fatturapa_configurazione SET Provincia = 'RM', ProssimoProgressivo = 1"));
        db().exec(QStringLiteral(
            "INSERT INTO clienti (idCliente, TipoCliente, RagioneSociale, pIva, CodiceDestinatario) VALUES "
            "(1, 'AZ', 'Bianchi Spa', '09876543210', 'M5UXCR1')"));
        db().exec(QStringLiteral(
            "INSERT INTO fatture (idFattura, NumDoc, TipoFattura, Anno, data, idCliente, RagioneSociale, "
            "Indirizzo, Cap, Citta, Provincia, PIVA) SELECT seq, seq, 'I', YEAR(CURRENT_DATE), CURRENT_DATE, "
            "1, 'Bianchi Spa', 'Via Garibaldi 10', '20121', 'Milano', 'MI', '09876543210' FROM seq_1_to_2"));
        db().exec(QStringLiteral(
            "INSERT INTO dettfattura (idFattura, NumDoc, Codice, Descrizione, UnitaMisura, quantita, "
            "Aliquota, PrezzoVendita, SubTotale) SELECT seq, seq, 'A1', 'Cover', 'PZ', 1, 22, 100, 100 "
            "FROM seq_1_to_2"));
        useCompany(company());
        m_connections.setDirectorySettings(s_directory->settings());
        logInWithAllPrivileges();
    }

    static inline std::unique_ptr<ct::ScratchDatabase> s_directory;
};

TEST_F(TFattureElectronicTest, ExportsTheSelectedInvoicesAndShowsTheirFiles)
{
    ui::TFatture window(m_environment, {documents::Fatture::windowName()});
    window.show();
    window.grid()->selectAll();
    QMenu* menu = child<QPushButton>(window, "fatturaelettronica")->menu();
    ASSERT_NE(menu, nullptr);
    menu->actions().at(0)->trigger(); // "Esporta XML"

    const QString folder = m_paths.documentsDir(core::DocumentFolder::FattureElettroniche);
    EXPECT_EQ(m_dialogs.messages(),
              QStringList{QStringLiteral("Esportate 2 fatture in %1").arg(QDir::toNativeSeparators(folder))});
    EXPECT_EQ(
        QDir(folder).entryList(QDir::Files, QDir::Name),
        (QStringList{QStringLiteral("IT01234567890_00001.xml"), QStringLiteral("IT01234567890_00002.xml")}));
    QAbstractItemModel* grid = window.grid()->model();
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->index(0, 9).data().toString(), QStringLiteral("IT01234567890_00002.xml"));
    EXPECT_EQ(grid->index(1, 9).data().toString(), QStringLiteral("IT01234567890_00001.xml"));
}

} // namespace
