#include "tests/documents/SalesDocumentFixture.h"

#include "documents/DocumentPdf.h"

#include "core/CompanyHeading.h"
#include "core/Paths.h"
#include "tests/support/RecordingReportOutput.h"
#include "tests/support/TestFiles.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace ct = carvendo::testing;
namespace core = carvendo::core;
namespace documents = carvendo::documents;
using ct::euros;

namespace {

// The invoices are printed through the real templates and read back from the PDF files.
class DocumentPrintTest : public ct::SalesDocumentFixture<DocumentPrintTest>
{
protected:
    void SetUp() override
    {
        SalesDocumentFixture::SetUp();
        emptyTables({"banche"});
    }

    static core::CompanyHeading shop()
    {
        core::CompanyHeading heading;
        heading.ragioneSociale = QStringLiteral("Telefonia Bianchi Snc");
        heading.indirizzo = QStringLiteral("Via Roma 12");
        heading.cap = QStringLiteral("20121");
        heading.citta = QStringLiteral("Milano");
        heading.piva = QStringLiteral("01234567890");
        QImage logo(120, 40, QImage::Format_RGB32);
        logo.fill(Qt::darkBlue);
        QBuffer png(&heading.logo);
        png.open(QIODevice::WriteOnly);
        logo.save(&png, "PNG");
        return heading;
    }

    // The PDF of the saved invoice with the template named, read back as text.
    QString printed(const documents::SalesDocument& invoice, const QString& templateName)
    {
        const QString path =
            documents::DocumentPdf(db(), m_paths, m_reports, shop()).write(invoice, templateName);
        EXPECT_EQ(path, invoice.pdfPath(m_paths));
        EXPECT_TRUE(QFileInfo(path).isFile()) << path.toStdString();
        return ct::pdfText(path);
    }

    // One line of the PDF text, its blanks made single, that holds all the words given in order.
    static bool hasLine(const QString& text, const QStringList& words)
    {
        for (const QString& line : text.split(u'\n')) {
            const QString simple = line.simplified();
            qsizetype from = 0;
            bool all = true;
            for (const QString& word : words) {
                from = simple.indexOf(word, from);
                if (from < 0) {
                    all = false;
                    break;
                }
                from += word.size();
            }
            if (all)
                return true;
        }
        return false;
    }

    QTemporaryDir m_folder;
    core::Paths m_paths{m_folder.path(), m_folder.path()};
    ct::RecordingReportOutput m_reports;
};

// Rows at 22 % and at 5 %, a 10 % document discount, a 20 % withholding and three instalments: the
// VAT summary lists both real rates with the discount shared out (it adds up to the taxable total),
// the withholding comes off the total and the instalments are listed in cents.
TEST_F(DocumentPrintTest, AnInvoicePdfShowsItsRowsTheVatOfEachRateTheNetToPayAndTheInstalments)
{
    auto invoice = newInvoice(db(), addCustomer());
    const int bank =
        insert("banche", {{QStringLiteral("Descrizione"), QStringLiteral("Banca di Milano")},
                          {QStringLiteral("Codice"), QStringLiteral("IT60X0542811101000000123456")}});
    db().exec(
        QStringLiteral("UPDATE fatture SET idbanca = :BANCA, tipopagamento = 'Bonifico 30-60-90', NRATE = 3, "
                       "PRATA1 = 17.2833, DRATA1 = '2027-01-31', PRATA2 = 17.2833, DRATA2 = '2027-02-28', "
                       "PRATA3 = 17.2834, DRATA3 = '2027-03-31'"),
        {{QStringLiteral("BANCA"), bank}});
    ASSERT_TRUE(invoice.addItem(addItem(QStringLiteral("CUFFIE"), 22, "12.20"), 3, 0, euros("12.20")));
    ASSERT_TRUE(invoice.addItem(addItem(QStringLiteral("LIBRO"), 5, "10.50"), 2, 0, euros("10.50")));
    invoice.setDiscount(euros("10"));
    invoice.setWithholding(euros("20"), QStringLiteral("Ritenuta professionisti"));
    ASSERT_TRUE(invoice.save());

    const QString text = printed(invoice, QStringLiteral("Fattura"));
    const QString date = invoice.header().date.toString(QStringLiteral("dd/MM/yyyy"));
    EXPECT_TRUE(hasLine(text, {QStringLiteral("FATTURA")}));
    EXPECT_TRUE(hasLine(text, {QStringLiteral("Telefonia Bianchi Snc")}));
    EXPECT_TRUE(hasLine(text, {QStringLiteral("N. 1 del ") + date}));
    EXPECT_TRUE(hasLine(text, {QStringLiteral("Spett.le")}));
    EXPECT_TRUE(hasLine(text, {QStringLiteral("Rossi Srl")}));
    EXPECT_TRUE(hasLine(text, {QStringLiteral("IBAN: IT60X0542811101000000123456")}));
    EXPECT_TRUE(hasLine(text, {QStringLiteral("CUFFIE"), QStringLiteral("Articolo CUFFIE"),
                               QStringLiteral("3"), QStringLiteral("PZ"), QStringLiteral("10,00"),
                               QStringLiteral("30,00"), QStringLiteral("22")}));
    EXPECT_TRUE(hasLine(text, {QStringLiteral("LIBRO"), QStringLiteral("Articolo LIBRO"), QStringLiteral("2"),
                               QStringLiteral("10,00"), QStringLiteral("20,00"), QStringLiteral("5")}));
    EXPECT_TRUE(hasLine(text, {QStringLiteral("IVA 5%"), QStringLiteral("18,00"), QStringLiteral("0,90")}));
    EXPECT_TRUE(hasLine(text, {QStringLiteral("IVA 22%"), QStringLiteral("27,00"), QStringLiteral("5,94")}));
    EXPECT_TRUE(hasLine(text, {QStringLiteral("Sconto 10%"), QStringLiteral("- € 5,00")}));
    EXPECT_TRUE(hasLine(text, {QStringLiteral("Imponibile"), QStringLiteral("€ 45,00")}));
    EXPECT_TRUE(hasLine(text, {QStringLiteral("Totale documento"), QStringLiteral("€ 51,84")}));
    EXPECT_TRUE(hasLine(text, {QStringLiteral("Ritenuta d'acconto 20%"), QStringLiteral("- € 9,00")}));
    EXPECT_TRUE(hasLine(text, {QStringLiteral("Netto a pagare"), QStringLiteral("€ 42,84")}));
    // Stored to the ten-thousandth, asked in cents adding up to the total.
    for (const auto& [due, amount] : {std::pair{"31/01/2027", "€ 17,28"}, std::pair{"28/02/2027", "€ 17,28"},
                                      std::pair{"31/03/2027", "€ 17,29"}})
        EXPECT_TRUE(hasLine(text, {QLatin1String(due), QString::fromUtf8(amount)})) << due;
    EXPECT_GE(ct::pdfImageCount(invoice.pdfPath(m_paths)), 1); // the logo
}

// A long invoice flows over the pages: every row once, the column heading and the document's
// reference at the top of each page, the totals once at the end.
TEST_F(DocumentPrintTest, ASixtyRowInvoiceSpansTwoPagesWithItsHeadingRepeated)
{
    auto invoice = newInvoice(db(), addCustomer());
    documents::ManualLine line;
    line.unit = QStringLiteral("PZ");
    line.aliquota = 22;
    line.price = euros("12.20");
    for (int i = 1; i <= 60; ++i) {
        line.code = QStringLiteral("R%1").arg(i, 3, 10, QLatin1Char('0'));
        line.description = QStringLiteral("Ricambio numero %1").arg(i);
        invoice.addManualLine(line);
    }
    // Not yet saved: no number to name the file after.
    EXPECT_EQ(ct::errorOf([&] { documents::DocumentPdf(db(), m_paths, m_reports).write(invoice); }),
              documents::DocumentPdf::notSavedMessage());
    ASSERT_TRUE(invoice.save());

    const QString text = printed(invoice, QStringLiteral("Fattura"));
    const QStringList pages = text.split(u'\f', Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 2) << qPrintable(text);
    for (const QString& page : pages) {
        EXPECT_TRUE(hasLine(page, {QStringLiteral("Fattura n. 1 del"), QStringLiteral("Rossi Srl")}));
        EXPECT_TRUE(hasLine(
            page, {QStringLiteral("Codice"), QStringLiteral("Descrizione"), QStringLiteral("Importo")}));
    }
    EXPECT_TRUE(hasLine(pages[1], {QStringLiteral("Pagina 2 di 2")}));
    for (int i = 1; i <= 60; ++i)
        EXPECT_EQ(text.count(QRegularExpression(QStringLiteral("Ricambio numero %1\\b").arg(i))), 1) << i;
    EXPECT_EQ(text.count(QStringLiteral("Totale documento")), 1);
    EXPECT_TRUE(hasLine(pages[1], {QStringLiteral("Totale documento"), QStringLiteral("€ 732,00")}));
}

// The variants list what each row sold: its own serial under a serial row, its sizes and colours
// under a row sold from the size grid.
TEST_F(DocumentPrintTest, TheVariantsPrintEachRowsSerialsAndSizes)
{
    addPhone({QStringLiteral("IMEI-111"), QStringLiteral("IMEI-222"), QStringLiteral("IMEI-333")});
    auto invoice = newInvoice(db(), addCustomer());
    ASSERT_TRUE(invoice.addSerial(QStringLiteral("IMEI-111")));
    ASSERT_TRUE(invoice.addSerial(QStringLiteral("IMEI-333")));
    const int shoe = addItem(QStringLiteral("SCARPA"), 22, "61.00");
    ASSERT_TRUE(invoice.addItem(shoe, 3, 0, euros("61.00")));
    db().exec(QStringLiteral("UPDATE dettfattura SET TC = 1 WHERE idarticolo = :ID"),
              {{QStringLiteral("ID"), shoe}});
    for (const auto& [colour, size, quantity] : {std::tuple{"Nero", "42", 2}, std::tuple{"Blu", "43", 1}})
        insert("scaricotcdoc", {{QStringLiteral("iddoc"), invoice.header().id},
                                {QStringLiteral("tipodoc"), QStringLiteral("Fattura")},
                                {QStringLiteral("idarticolo"), shoe},
                                {QStringLiteral("colore"), QLatin1String(colour)},
                                {QStringLiteral("taglia"), QLatin1String(size)},
                                {QStringLiteral("quantita"), quantity}});
    ASSERT_TRUE(invoice.save());

    const QString serials = printed(invoice, QStringLiteral("FatturaSeriali"));
    EXPECT_EQ(serials.count(QStringLiteral("S/N: IMEI-111")), 1) << qPrintable(serials);
    EXPECT_EQ(serials.count(QStringLiteral("S/N: IMEI-333")), 1);
    EXPECT_FALSE(serials.contains(QStringLiteral("IMEI-222")));
    const QString sizes = printed(invoice, QStringLiteral("FatturaTC"));
    EXPECT_TRUE(hasLine(sizes, {QStringLiteral("Taglie e colori: Nero tg. 42 x 2, Blu tg. 43 x 1")}))
        << qPrintable(sizes);
}

} // namespace
