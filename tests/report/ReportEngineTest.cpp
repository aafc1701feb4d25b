// The shipped templates filled from real company rows and written as PDF files, read back as text.
#include "report/ReportEngine.h"

#include "core/Paths.h"
#include "core/ReportOutput.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/RecordingReportOutput.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestFiles.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>

using namespace carvendo;
using carvendo::testing::pdfImageCount;
using carvendo::testing::pdfText;

namespace {

// "Page size: 842 x 595 pts (A4)" of `pdfinfo`: the first page's size.
QString pageSize(const QString& path)
{
    QProcess pdfinfo;
    pdfinfo.start(QStringLiteral("pdfinfo"), {path});
    pdfinfo.waitForFinished();
    for (const QString& line : QString::fromUtf8(pdfinfo.readAllStandardOutput()).split(u'\n'))
        if (line.startsWith(QStringLiteral("Page size:")))
            return line.mid(10).trimmed();
    return {};
}

class ReportEngineTest : public carvendo::testing::CompanySuite<ReportEngineTest>
{
protected:
    ReportEngineTest() { db().exec(QStringLiteral("DELETE FROM inventario")); }

    core::Db& db() { return company().db(); }
    QString pdf(const QString& name) const { return m_dir.path() + u'/' + name + QStringLiteral(".pdf"); }

    // Writes the request as a PDF and gives its text.
    QString print(const core::ReportRequest& request, const QString& name)
    {
        m_engine.writePdf(request, pdf(name));
        return pdfText(pdf(name));
    }

    void addInventoryRow(const QString& code, const QString& description, double giacenza, double acquisto)
    {
        db().exec(
            QStringLiteral(
                "INSERT INTO inventario (CODART, IDARTICOLO, DESCRIZIONE, MAGAZZINO, GIACENZA, "
                "DISPONIBILITA, ACQUISTO, ACQUISTOMEDIO, LISTINO1, LISTINO2, LISTINO3) VALUES "
                "(:CODART, 1, :DESCRIZIONE, 'MAGAZZINO CENTRALE', :GIACENZA, :GIACENZA, :ACQUISTO, "
                ":ACQUISTO, 1234.5, 99.9, 0)"),
            {{"CODART", code}, {"DESCRIZIONE", description}, {"GIACENZA", giacenza}, {"ACQUISTO", acquisto}});
    }

    core::ReportRequest inventory(const QString& title)
    {
        core::ReportRequest request;
        request.templateName = QStringLiteral("Inventario");
        request.title = title;
        request.datasets[QStringLiteral("inventario")] = db().query(QStringLiteral(
            "SELECT CODART, DESCRIZIONE, MAGAZZINO, GIACENZA, DISPONIBILITA, ACQUISTO, ACQUISTOMEDIO, "
            "LISTINO1, LISTINO2, LISTINO3 FROM inventario ORDER BY CODART"));
        request.values = {{"title", title},
                          {"TOTGIAC", "7,00"},
                          {"TOTDISP", "7,00"},
                          {"VALOREACQ", "2.469,00"},
                          {"VALOREMEDIO", "2.469,00"},
                          {"VALORELISTINO1", "8.641,50"},
                          {"VALORELISTINO2", "699,30"},
                          {"VALORELISTINO3", "0,00"}};
        return request;
    }

    static QByteArray pngLogo()
    {
        QImage image(120, 40, QImage::Format_RGB32);
        image.fill(QColor(0x1f, 0x4e, 0x79));
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return bytes;
    }

    QTemporaryDir m_dir;
    report::ReportEngine m_engine{QStringLiteral(CARVENDO_REPORT_DIR)};
};

TEST_F(ReportEngineTest, AMissingOrEscapingTemplateIsRefusedWithTheOperatorsText)
{
    const struct
    {
        QString name;
        QString message;
    } cases[] = {
        {"Inesistente", "Modello di stampa non trovato: " CARVENDO_REPORT_DIR "/Inesistente.html"},
        {"../Report/Inventario", "Nome del modello di stampa non valido: ../Report/Inventario"},
    };
    for (const auto& c : cases) {
        core::ReportRequest request;
        request.templateName = c.name;
        EXPECT_EQ(
            carvendo::testing::errorOf([&] { m_engine.writePdf(request, pdf(QStringLiteral("mancante"))); }),
            c.message);
        EXPECT_FALSE(QFileInfo::exists(pdf(QStringLiteral("mancante"))));
    }
}

// Stock quantities print with the decimals the shop keeps them in ("3 Decimali"), read at every
// print; amounts of the same rows stay money.
TEST_F(ReportEngineTest, QuantitiesPrintWithTheSettingsDecimalsAndAmountsAsMoney)
{
    addInventoryRow(QStringLiteral("CV15"), QStringLiteral("Cavo a metro"), 1234.25, 2.126);
    const QString ini = m_dir.path() + QStringLiteral("/impostazioni.ini");
    const report::ReportEngine engine(QStringLiteral(CARVENDO_REPORT_DIR), ini);
    core::ReportRequest request = inventory(QStringLiteral("Inventario"));
    request.setColumnKind(QStringLiteral("inventario"), core::PrintedNumber::Quantity,
                          {"giacenza", "Disponibilita"});

    const struct
    {
        const char* setting;
        const char* quantity;
    } cases[] = {{"[Impostazioni]\r\n3 Decimali=1\r\n", "1234,250"},
                 {"[Impostazioni]\r\n3 Decimali=0\r\n", "1234,25"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setting);
        QFile file(ini);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.setting);
        file.close();
        const QString html = engine.html(request);
        EXPECT_EQ(html.count(QString::fromLatin1(c.quantity)), 2) << "giacenza and disponibilità";
        EXPECT_TRUE(html.contains(QStringLiteral("2,13"))) << "the purchase price is an amount";
        EXPECT_FALSE(html.contains(QStringLiteral("1.234,25"))) << "no quantity prints as money";
    }
}

// A full disk halfway through an export: the last good file of that name stays whole.
TEST_F(ReportEngineTest, AnExportThatFailsHalfwayKeepsTheLastGoodFile)
{
    addInventoryRow(QStringLiteral("CV15"), QStringLiteral("Cover"), 5, 12);
    const QString path = pdf(QStringLiteral("inventario"));
    m_engine.writePdf(inventory(QStringLiteral("Inventario")), path);
    EXPECT_EQ(pageSize(path), QStringLiteral("842 x 595 pts (A4)")) << "the inventory is landscape";
    const QByteArray goodBytes = carvendo::testing::readFile(path);

    // Files of this process may not grow past 2 KiB, as on a disk that fills up.
    struct rlimit saved
    {
    };
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 2048;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const QString error =
        carvendo::testing::errorOf([&] { m_engine.writePdf(inventory(QStringLiteral("Inventario")), path); });
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedSignal);

    EXPECT_EQ(error, QStringLiteral("Impossibile scrivere il file PDF ") + path);
    EXPECT_EQ(carvendo::testing::readFile(path), goodBytes);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("inventario.pdf")})
        << "no temporary file is left behind";
}

// Which sections a logo or a hidden memo opens is the binder's: here the logo's picture is drawn.
TEST_F(ReportEngineTest, TheLogoIsDrawnOnAPortraitPage)
{
    QTemporaryDir templates;
    QFile file(templates.path() + QStringLiteral("/Prova.html"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "<html><body>{{#logo}}<img src=\"picture1\"/>{{/logo}}<p>Documento di prova</p></body></html>");
    file.close();
    const report::ReportEngine engine(templates.path());

    core::ReportRequest request;
    request.templateName = QStringLiteral("Prova");
    request.logo = pngLogo();
    const QString path = pdf(QStringLiteral("logo"));
    engine.writePdf(request, path);

    EXPECT_TRUE(pdfText(path).contains(QStringLiteral("Documento di prova")));
    EXPECT_EQ(pdfImageCount(path), 1);
    EXPECT_EQ(pageSize(path), QStringLiteral("595 x 842 pts (A4)"));
}

TEST(ReportFolderTest, TheProgramsInTheBuildTreeFindTheTemplates)
{
    const core::Paths paths = core::Paths::fromEnvironment(QCoreApplication::applicationDirPath());
    EXPECT_TRUE(QFileInfo::exists(paths.reportDir() + QStringLiteral("/Inventario.html")))
        << paths.reportDir().toStdString();
}

} // namespace
