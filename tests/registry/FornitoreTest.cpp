#include "registry/Fornitore.h"
#include "registry/StoricoCliente.h"

#include "core/Db.h"
#include "tests/registry/RegistrySuite.h"

#include <gtest/gtest.h>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

class FornitoreTest : public ct::RegistrySuite<FornitoreTest>
{
protected:
    void SetUp() override
    {
        emptyTables(
            {"clienti", "fornitori", "ordinifornitori", "carichi", "venduti", "prima_nota", "fatture"});
    }

    registry::Fornitore m_card{company().db(), m_dialogs, m_navigator};
};

TEST_F(FornitoreTest, NewSuppliersTakeTheNextCodeAndChecksOnlyInform)
{
    db().exec(QStringLiteral("INSERT INTO fornitori (Codice, RagSoc) VALUES ('9', 'Ingrosso Nord')"));
    m_card.openNew();
    EXPECT_EQ(m_card.value(QStringLiteral("codice")).toString(), QStringLiteral("10"));

    EXPECT_FALSE(m_card.save());
    EXPECT_EQ(m_dialogs.messages(),
              QStringList{QStringLiteral("Inserire la ragione sociale del fornitore.")});
    m_dialogs.clear();

    m_card.setValue(QStringLiteral("RagSoc"), QStringLiteral("Nuova Elettronica dell'Adriatico"));
    m_card.setValue(QStringLiteral("PIva"), QStringLiteral("1234567890A"));
    m_card.fieldLeft(QStringLiteral("PIva"));
    m_card.fieldLeft(QStringLiteral("CodFisc")); // empty: not checked
    EXPECT_EQ(m_dialogs.messages(),
              (QStringList{QStringLiteral("La partita IVA contiene dei caratteri non ammessi: la partita IVA "
                                          "dovrebbe contenere solo cifre.")}));

    ASSERT_TRUE(m_card.save());

    m_card.setValue(QStringLiteral("Banca"), QStringLiteral("Banca d'Alba"));
    m_dialogs.answerConfirm(false);
    EXPECT_FALSE(m_card.mayLeave());
}

TEST_F(FornitoreTest, ASupplierDeletedMeanwhileIsNotReportedAsSaved)
{
    const int id = insertSupplier(QStringLiteral("9"), QStringLiteral("Ingrosso Nord"));
    ASSERT_TRUE(m_card.open(id));
    company().newConnection()->exec(QStringLiteral("DELETE FROM fornitori WHERE id_fornitore = :ID"),
                                    {{QStringLiteral("ID"), id}});
    m_card.setValue(QStringLiteral("Banca"), QStringLiteral("Banca d'Alba"));
    EXPECT_FALSE(m_card.save());
    EXPECT_EQ(m_dialogs.messages(), QStringList{QStringLiteral(
                                        "Il fornitore non esiste più: le modifiche non sono state salvate")});
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM fornitori")).toInt(), 0);
}

TEST_F(FornitoreTest, ASavedSupplierBecomesACustomerWithItsData)
{
    db().exec(
        QStringLiteral("INSERT INTO clienti (CodiceCliente, RagioneSociale) VALUES (41, 'Rossi Mario')"));
    m_card.openNew();
    m_card.setValue(QStringLiteral("RagSoc"), QStringLiteral("Ferramenta Sant'Antonio"));
    m_card.setValue(QStringLiteral("PIva"), QStringLiteral("00000000000"));
    m_card.setValue(QStringLiteral("IndirizzoLeg"), QStringLiteral("Via Po 3"));
    m_card.setValue(QStringLiteral("CittaLeg"), QStringLiteral("Torino"));
    m_card.setValue(QStringLiteral("ProvLeg"), QStringLiteral("TO"));

    // Unsaved: nothing made.
    EXPECT_EQ(m_card.makeCustomer(), 0);
    EXPECT_EQ(m_dialogs.messages(),
              QStringList{QStringLiteral("Salvare il fornitore prima di crearne il cliente.")});
    ASSERT_TRUE(m_card.save());

    const int idCliente = m_card.makeCustomer();
    ASSERT_NE(idCliente, 0);
    EXPECT_EQ(m_navigator.lastRequest(QStringLiteral("TCliente")).key.toInt(), idCliente);
    const core::Row row = db().query(QStringLiteral("SELECT * FROM clienti WHERE idCliente = :ID"),
                                     {{QStringLiteral("ID"), idCliente}})
                              .first();
    EXPECT_EQ(row["CodiceCliente"].toInt(), 42);
    EXPECT_EQ(row["RagioneSociale"].toString(), QStringLiteral("Ferramenta Sant'Antonio"));
    EXPECT_EQ(row["ProvRes"].toString(), QStringLiteral("TO"));
    EXPECT_EQ(m_card.mapSearchUrl(),
              QStringLiteral("https://www.openstreetmap.org/search?query=Via%20Po%203%2C%20Torino%2C%20TO"));
}

TEST_F(FornitoreTest, HistoryTabsListOnlyTheDocumentsOfTheirOwner)
{
    db().exec(
        QStringLiteral("INSERT INTO ordinifornitori (NumDoc, idFornitore) VALUES (1, 5), (2, 5), (3, 6)"));
    db().exec(QStringLiteral("INSERT INTO carichi (NumeroCarico, idFornitore) VALUES (10, 6)"));
    db().exec(QStringLiteral("INSERT INTO fatture (NumDoc, idCliente) VALUES (7, 5), (8, 9)"));
    db().exec(QStringLiteral(
        "INSERT INTO prima_nota (idsoggetto, tiposogg) VALUES (5, 'Cliente'), (5, 'Fornitore')"));

    using S = registry::HistoryTab::Source;
    EXPECT_EQ(registry::historyRows(db(), S::SupplierOrders, 5).size(), 2);
    EXPECT_EQ(registry::historyRows(db(), S::GoodsReceipts, 5).size(), 0);
    EXPECT_EQ(registry::historyRows(db(), S::Invoices, 5).value(0, "NumDoc").toInt(), 7);
    // The cash book of a customer leaves out the supplier with the same id.
    EXPECT_EQ(registry::historyRows(db(), S::CashBook, 5).size(), 1);
    // Every customer tab runs.
    for (const registry::HistoryTab& tab : registry::customerHistoryTabs())
        EXPECT_NO_THROW(registry::historyRows(db(), tab.source, 5)) << tab.caption.toStdString();
}

TEST_F(FornitoreTest, CustomerHistoryFindsByNameOrTaxCodeAndListsTheSales)
{
    const int damico = insertCustomer(1, QStringLiteral("D'Amico Sergio"), QStringLiteral("DMCSRG80A01L219X"),
                                      QStringLiteral("01234567897"));
    insertCustomer(2, QStringLiteral("Amici Lucia"), QString(), QString());
    db().exec(QStringLiteral("INSERT INTO venduti (idCliente, idArticolo) VALUES (:ID, 1), (:ID, 2), (0, 3)"),
              {{QStringLiteral("ID"), damico}});

    registry::StoricoCliente history(db(), m_dialogs);
    using By = registry::StoricoCliente::SearchBy;
    struct Case
    {
        By by;
        const char* typed;
        int found;
    };
    for (const Case& c : {Case{By::Name, "ami", 2}, Case{By::CodiceFiscale, "DMCSRG80A01L219X", 1},
                          Case{By::PartitaIva, "' OR '1'='1", 0}}) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(history.findCustomers(c.by, QString::fromUtf8(c.typed)).size(), c.found);
    }

    ASSERT_TRUE(history.open(damico));
    EXPECT_EQ(history.sales().size(), 2);
    EXPECT_FALSE(history.open(damico + 100));
}

} // namespace
