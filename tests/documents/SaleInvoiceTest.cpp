#include "tests/documents/SalesDocumentFixture.h"

#include "documents/SaleInvoice.h"
#include "einvoice/InvoiceData.h"
#include "einvoice/InvoiceFigures.h"

#include "stock/serials/SerialSales.h"

#include "core/CompanyDirectory.h"
#include "core/Error.h"

using namespace carvendo;
namespace ct = carvendo::testing;
using ct::euros;

namespace {

const QString SaleDocument = QStringLiteral("Pos");
const int SaleId = 41;

class SaleInvoiceTest : public ct::SalesDocumentFixture<SaleInvoiceTest>
{
protected:
    QStringList serialsIn(const QString& document)
    {
        QStringList serials;
        for (const core::Row& r :
             db().query(QStringLiteral(
                            "SELECT Seriale FROM serialidocumenti WHERE Documento = :DOC ORDER BY Seriale"),
                        {{QStringLiteral("DOC"), document}}))
            serials << r["Seriale"].toString();
        return serials;
    }
    QStringList available()
    {
        QStringList serials;
        for (const core::Row& r : db().query(QStringLiteral("SELECT Seriale FROM seriali ORDER BY Seriale")))
            serials << r["Seriale"].toString();
        return serials;
    }
};

// Two serials the till sold on one row become two invoice rows at the till's price, and a third piece
// scanned by its barcode a plain row; the serials stay sold, now by the invoice, and deleting the
// invoice gives back exactly those two and the three pieces.
TEST_F(SaleInvoiceTest, TheSalesSerialsBecomeTheInvoicesAndComeBackWhenItGoes)
{
    const stock::SerialItem phone =
        addPhone({QStringLiteral("IMEI1"), QStringLiteral("IMEI2"), QStringLiteral("IMEI3")});
    db().exec(QStringLiteral("UPDATE articoli SET Aliquota = 22 WHERE ID = :ID"),
              {{QStringLiteral("ID"), phone.itemId}});
    stock::SerialSales till(db(), stock::actorOf(m_session));
    for (const char* serial : {"IMEI1", "IMEI2"})
        till.sell(phone.itemId, QLatin1String(serial), {SaleDocument, SaleId, {}, 0, {}});
    const int customer = addCustomer();

    documents::SoldSale sale{customer,
                             QStringLiteral("Bancomat"),
                             {{phone.itemId, 3, 10, euros("122"), true}},
                             SaleDocument,
                             SaleId};
    const int id = documents::SaleInvoice(db(), m_dialogs, m_session).create(sale);

    EXPECT_EQ(serialsIn(SaleDocument), QStringList{});
    EXPECT_EQ(serialsIn(QStringLiteral("Fattura")),
              (QStringList{QStringLiteral("IMEI1"), QStringLiteral("IMEI2")}));
    EXPECT_EQ(count(QStringLiteral(
                        "SELECT COUNT(*) FROM dettfattura WHERE SN = 1 AND Sconto = 10 AND Pubblico = 122 "
                        "AND idFattura = :ID"),
                    {{QStringLiteral("ID"), id}}),
              2);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM dettfattura WHERE SN = 0 AND quantita = 1")), 1);
    EXPECT_EQ(stockOf(phone.itemId).second, -3);

    documents::SalesDocument invoice(documents::DocumentKind::of(documents::DocumentKindId::FatturaImmediata),
                                     db(), m_dialogs, m_session);
    invoice.load(id);
    invoice.remove();
    EXPECT_EQ(available(),
              (QStringList{QStringLiteral("IMEI1"), QStringLiteral("IMEI2"), QStringLiteral("IMEI3")}));
    EXPECT_EQ(serialsIn(QStringLiteral("Fattura")), QStringList{});
    EXPECT_EQ(stockOf(phone.itemId).second, 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM prima_nota")), 0);
}

// Two pieces of a size/colour cell the till took from the grid: the invoice records them as its own
// sizes, so deleting it puts them back into that cell.
TEST_F(SaleInvoiceTest, TheSalesSizesBecomeTheInvoicesAndGoBackToTheirCellWhenItGoes)
{
    const int shirt = addItem(QStringLiteral("MAGLIA"), 22, "24.40");
    const int group = insert("taglie_tc", {{QStringLiteral("DESCRIZIONE"), QStringLiteral("ADULTO")},
                                           {QStringLiteral("TG1"), QStringLiteral("S")},
                                           {QStringLiteral("TG2"), QStringLiteral("M")}});
    db().exec(QStringLiteral(
                  "UPDATE articoli SET TC = 1, idgruppoTaglia = :G, GruppoTaglia = 'ADULTO' WHERE ID = :ID"),
              {{QStringLiteral("G"), group}, {QStringLiteral("ID"), shirt}});
    insert("disptc", {{QStringLiteral("idarticolo"), shirt},
                      {QStringLiteral("Colore"), QStringLiteral("ROSSO")},
                      {QStringLiteral("TG2"), 3}, // two of five already taken by the till
                      {QStringLiteral("BAR2"), QStringLiteral("C2")},
                      {QStringLiteral("idmagazzino"), ct::kSerialActor.warehouseId}});
    documents::SoldLine sizes{shirt, 2, 0, euros("24.40"), false};
    sizes.bySize = true;
    sizes.size = QStringLiteral("M");
    sizes.colour = QStringLiteral("ROSSO");
    const int id = documents::SaleInvoice(db(), m_dialogs, m_session)
                       .create({addCustomer(), QStringLiteral("Contanti"), {sizes}, SaleDocument, SaleId});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM dettfattura WHERE TC = 1 AND quantita = 2")), 1);
    EXPECT_EQ(stockOf(shirt), std::make_pair(8.0, 8.0));

    documents::SalesDocument invoice(documents::DocumentKind::of(documents::DocumentKindId::FatturaImmediata),
                                     db(), m_dialogs, m_session);
    invoice.load(id);
    invoice.remove();
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT TG2 FROM disptc")).toInt(), 5);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM scaricotcdoc")), 0);
    EXPECT_EQ(stockOf(shirt), std::make_pair(10.0, 10.0));
}

// The till already took the sale's amount: an exempt sale over the threshold makes an invoice whose
// stamp duty the shop bears, even when the customer is charged it elsewhere. The duty is stated on the
// file; the invoice's total, its file's and its one paid cash-book line are what the till took.
TEST_F(SaleInvoiceTest, ACounterSalesInvoiceAsksNoStampDutyOnTopOfWhatTheTillTook)
{
    db().exec(QStringLiteral("UPDATE iva SET Natura = 'N4' WHERE Iva = 0"));
    db().exec(QStringLiteral("UPDATE fatturapa_configurazione SET BolloImporto = 2, BolloSoglia = 77.47, "
                             "BolloACaricoCliente = 1"));
    const int repair = addItem(QStringLiteral("RIP"), 0, "120");
    const int id = documents::SaleInvoice(db(), m_dialogs, m_session)
                       .create({addCustomer(),
                                QStringLiteral("Contanti"),
                                {{repair, 1, 0, euros("120"), false}},
                                SaleDocument,
                                SaleId});

    EXPECT_EQ(headerMoney(id, "totaledocumento"), euros("120"));
    EXPECT_EQ(headerMoney(id, "ImportoBollo"), euros("2"));
    core::CompanyRecord company;
    const einvoice::InvoiceFigures file =
        einvoice::InvoiceFigures::of(einvoice::InvoiceReader(db(), company).read(id));
    EXPECT_TRUE(file.stampDuty);
    EXPECT_EQ(file.total, euros("120"));
    const core::Rows cashBook = db().query(QStringLiteral("SELECT entrate, saldato FROM prima_nota"));
    ASSERT_EQ(cashBook.size(), 1);
    EXPECT_EQ(cashBook.first()["entrate"].toMoney(), euros("120"));
    EXPECT_TRUE(cashBook.first()["saldato"].toBool());

    // Opened and saved again in the invoice window, it still asks what the till took.
    documents::SalesDocument reopened(
        documents::DocumentKind::of(documents::DocumentKindId::FatturaImmediata), db(), m_dialogs, m_session);
    reopened.load(id);
    ASSERT_TRUE(reopened.save());
    EXPECT_EQ(headerMoney(id, "totaledocumento"), euros("120"));
}

} // namespace
