#include "gridexport/GridExport.h"

#include "core/Rows.h"
#include "tests/support/TestFiles.h"

#include <QDate>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace carvendo::core;
using namespace carvendo::gridexport;
namespace ct = carvendo::testing;

namespace {

Rows customers()
{
    return Rows(
        {QStringLiteral("CodiceCliente"), QStringLiteral("RagioneSociale"), QStringLiteral("Citta"),
         QStringLiteral("DataNasc")},
        {{QVariant(1), QVariant(QStringLiteral("D'Amico Sergio")), QVariant(QStringLiteral("Forlì")),
          QVariant(QDate(1970, 3, 9))},
         {QVariant(2), QVariant(QStringLiteral("Rossi; Bianchi & \"Figli\"")), QVariant(), QVariant()}});
}

class GridExportTest : public ::testing::Test
{
protected:
    QString path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }
    QTemporaryDir m_dir;
};

TEST_F(GridExportTest, TextUsesSemicolonsAndQuotesFieldsThatNeedIt)
{
    GridExport::write(customers(), ExportFormat::Text, path("clienti.txt"));
    EXPECT_EQ(QString::fromUtf8(ct::readFile(path("clienti.txt"))),
              QStringLiteral("CodiceCliente;RagioneSociale;Citta;DataNasc\r\n"
                             "1;D'Amico Sergio;Forlì;09/03/1970\r\n"
                             "2;\"Rossi; Bianchi & \"\"Figli\"\"\";;\r\n"));
}

TEST_F(GridExportTest, CaptionsMustMatchTheNumberOfColumns)
{
    EXPECT_EQ(ct::errorOf([&] {
                  GridExport::write(customers(), ExportFormat::Text, path("short.txt"),
                                    {QStringLiteral("Codice")});
              }),
              QStringLiteral(
                  "Le intestazioni della griglia non corrispondono alle colonne: esportazione annullata."));
    EXPECT_FALSE(QFile::exists(path("short.txt")));
}

TEST_F(GridExportTest, HtmlAndXmlEscapeMarkup)
{
    GridExport::write(customers(), ExportFormat::Html, path("c.html"));
    const QString html = QString::fromUtf8(ct::readFile(path("c.html")));
    EXPECT_TRUE(html.contains(QStringLiteral("<td>Rossi; Bianchi &amp; &quot;Figli&quot;</td>")));
    GridExport::write(customers(), ExportFormat::Xml, path("c.xml"));
    const QString xml = QString::fromUtf8(ct::readFile(path("c.xml")));
    EXPECT_TRUE(xml.contains(
        QStringLiteral("<campo nome=\"RagioneSociale\">Rossi; Bianchi &amp; &quot;Figli&quot;</campo>")));
}

TEST_F(GridExportTest, ExcelWorkbookHoldsTheTexts)
{
    GridExport::write(customers(), ExportFormat::Excel, path("c.xlsx"));
    const QByteArray bytes = ct::readFile(path("c.xlsx"));
    ASSERT_TRUE(bytes.startsWith("PK")); // a zip container
    EXPECT_FALSE(QFile::exists(path("c.xlsx.part")));
    const QString unzip = QStandardPaths::findExecutable(QStringLiteral("unzip"));
    if (unzip.isEmpty())
        GTEST_SKIP() << "unzip not installed: contents not inspected";
    QProcess process;
    process.start(unzip, {QStringLiteral("-p"), path("c.xlsx"), QStringLiteral("xl/sharedStrings.xml")});
    ASSERT_TRUE(process.waitForFinished());
    const QString strings = QString::fromUtf8(process.readAllStandardOutput());
    EXPECT_TRUE(strings.contains(QStringLiteral("09/03/1970")));
}

TEST_F(GridExportTest, AnUnwritablePathFailsWithItsName)
{
    const QString target = path("missing/dir/c.txt");
    for (ExportFormat format : {ExportFormat::Text, ExportFormat::Excel}) {
        const QString error = ct::errorOf([&] { GridExport::write(customers(), format, target); });
        EXPECT_TRUE(error.startsWith(QStringLiteral("Impossibile scrivere il file "))) << error.toStdString();
    }
}

} // namespace
