#include "tests/documents/SalesDocumentFixture.h"

#include "documents/ManualLineEntry.h"
#include "einvoice/InvoiceData.h"
#include "einvoice/InvoiceFigures.h"

#include "core/CompanyDirectory.h"
#include "tests/support/QtPrinters.h"

namespace ct = carvendo::testing;
namespace core = carvendo::core;
namespace documents = carvendo::documents;
namespace einvoice = carvendo::einvoice;
using ct::euros;

namespace {

// A shop with three zero rates: a 0% row states the nature of the VAT code it was sold under, in the
// file and in the stamp duty, not the first zero rate's.
class RowNatureTest : public ct::SalesDocumentFixture<RowNatureTest>
{
protected:
    void SetUp() override
    {
        SalesDocumentFixture::SetUp();
        db().exec(QStringLiteral("DELETE FROM iva WHERE Iva = 0"));
        // The first zero rate with a nature is the one rows without a code of their own take.
        db().exec(QStringLiteral(
            "INSERT INTO iva (idIva, Iva, Codice, `Desc`, Natura, RiferimentoNormativo) VALUES "
            "(10, 0, 'NI8', 'NON IMPONIBILE ART.8', 'N3.1', 'Art. 8 DPR 633/72'), "
            "(11, 0, 'E10', 'ESENTE ART.10', 'N4', 'Art. 10 DPR 633/72'), "
            "(12, 0, 'N1', 'ESCLUSO ART.15', 'N1', 'Art. 15 DPR 633/72')"));
        db().exec(QStringLiteral("UPDATE fatturapa_configurazione SET BolloImporto = 2, BolloSoglia = 77.47, "
                                 "BolloACaricoCliente = 0"));
    }

    int addZeroRateItem(const QString& code, const char* vatCode, const char* price)
    {
        const int id = addItem(code, 0, price);
        db().exec(QStringLiteral("UPDATE articoli SET AliquotaDesc = :D WHERE ID = :ID"),
                  {{QStringLiteral("D"), QLatin1String(vatCode)}, {QStringLiteral("ID"), id}});
        return id;
    }

    core::CompanyRecord m_company;
};

TEST_F(RowNatureTest, EachZeroRateRowStatesTheNatureOfItsOwnVatCode)
{
    auto invoice = newInvoice(db(), addCustomer());
    // By description, by code, by a code that is no zero rate (the first one's nature), and a taxed row.
    const int insurance = addZeroRateItem(QStringLiteral("POLIZZA"), "Esente art.10", "50");
    ASSERT_TRUE(invoice.addItem(insurance, 1, 0, euros("50")));
    ASSERT_TRUE(invoice.addItem(addZeroRateItem(QStringLiteral("SPESE"), "N1", "20"), 1, 0, euros("20")));
    ASSERT_TRUE(
        invoice.addItem(addZeroRateItem(QStringLiteral("EXPORT"), "IVA 22%", "100"), 1, 0, euros("100")));
    ASSERT_TRUE(invoice.addItem(addItem(QStringLiteral("COVER"), 22, "12.20"), 1, 0, euros("12.20")));
    // The manual line's choice, as the dialog offers it.
    const QList<documents::ZeroRateCode> offered = documents::zeroRateCodes(db());
    ASSERT_EQ(offered.size(), 3);
    EXPECT_EQ(offered[0].code, QStringLiteral("NON IMPONIBILE ART.8"));
    const std::optional<documents::ManualLine> line = documents::manualLineFrom(
        {QStringLiteral("BOLLI"), QStringLiteral("Diritti anticipati"), QStringLiteral("PZ"), 0,
         QStringLiteral("1"), QStringLiteral("10"), true, offered[2].code},
        m_dialogs);
    ASSERT_TRUE(line);
    invoice.addManualLine(*line);
    ASSERT_TRUE(invoice.save());

    EXPECT_EQ(
        rows(QStringLiteral("SELECT Codice, Natura FROM dettfattura WHERE idFattura = :ID ORDER BY Codice"),
             {{QStringLiteral("ID"), invoice.header().id}})
            .join(u' '),
        QStringLiteral("BOLLI|N1 COVER| EXPORT|N3.1 POLIZZA|N4 SPESE|N1"));

    const einvoice::InvoiceData data = einvoice::InvoiceReader(db(), m_company).read(invoice.header().id);
    QStringList lines;
    for (const einvoice::InvoiceLine& l : data.lines)
        lines << QStringLiteral("%1|%2|%3").arg(l.code, l.nature, l.legalReference);
    lines.sort();
    EXPECT_EQ(lines.join(QStringLiteral("; ")),
              QStringLiteral("BOLLI|N1|Art. 15 DPR 633/72; COVER||; EXPORT|N3.1|Art. 8 DPR 633/72; "
                             "POLIZZA|N4|Art. 10 DPR 633/72; SPESE|N1|Art. 15 DPR 633/72"));
    const einvoice::InvoiceFigures figures = einvoice::InvoiceFigures::of(data);
    QStringList summaries;
    for (const einvoice::FileSummary& s : figures.summaries)
        summaries << QStringLiteral("%1|%2|%3").arg(s.rate).arg(s.nature, s.taxable.toItalian());
    EXPECT_EQ(summaries.join(QStringLiteral("; ")),
              QStringLiteral("22||10,00; 0|N1|30,00; 0|N3.1|100,00; 0|N4|50,00"));
    // Excluded and exempt amounts (80,00) bear the stamp duty; the not taxable export does not.
    EXPECT_TRUE(figures.stampDuty);
    EXPECT_EQ(headerMoney(invoice.header().id, "ImportoBollo"), euros("2"));

    // Without the insurance only 30,00 bear it: the 100,00 not taxable does not make it due.
    invoice.removeRow({insurance, QStringLiteral("POLIZZA"), {}});
    EXPECT_EQ(headerMoney(invoice.header().id, "ImportoBollo"), core::Money());

    // A row made before rows kept their nature takes the first zero rate that has one: an empty
    // nature is none.
    db().exec(QStringLiteral("UPDATE iva SET Natura = '' WHERE idIva = 10"));
    db().exec(QStringLiteral("UPDATE dettfattura SET Natura = NULL WHERE Codice = 'EXPORT'"));
    for (const einvoice::InvoiceLine& l :
         einvoice::InvoiceReader(db(), m_company).read(invoice.header().id).lines)
        if (l.code == QLatin1String("EXPORT")) {
            EXPECT_EQ(l.nature + u'|' + l.legalReference, QStringLiteral("N4|Art. 10 DPR 633/72"));
        }
}

} // namespace
