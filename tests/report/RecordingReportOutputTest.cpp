// The print port logic tests use: it records what was asked and fails as the program would.
#include "RecordingReportOutput.h"

#include "QtPrinters.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace carvendo;
using carvendo::testing::RecordedReport;
using carvendo::testing::RecordingReportOutput;

TEST(RecordingReportOutputTest, RecordsEachPrintAndWritesTheRealPdf)
{
    RecordingReportOutput output;
    QTemporaryDir dir;
    core::ReportRequest request;
    request.templateName = QStringLiteral("Sottoscorta");
    request.datasets[QStringLiteral("sottoscorta")] =
        core::Rows({"codart", "descrizione", "giacenza", "scorta", "qtaordine"}, {{"SC1", "Pellicola opaca", 1, 5, 4}});
    const QString path = dir.path() + QStringLiteral("/sottoscorta/elenco.pdf");

    output.preview(request);
    output.print(request);
    output.exportPdf(request, path);

    ASSERT_EQ(output.requests().size(), 3u);
    EXPECT_EQ(output.requests()[0].kind, RecordedReport::Kind::Preview);
    EXPECT_EQ(output.requests()[1].kind, RecordedReport::Kind::Print);
    EXPECT_EQ(output.last().kind, RecordedReport::Kind::Pdf);
    EXPECT_EQ(output.last().path, path);
    EXPECT_EQ(output.last().request.datasets.at(QStringLiteral("sottoscorta")).value(0, "codart").toString(), "SC1");
    const QString text = carvendo::testing::pdfText(path);
    for (const char* expected : {"Articoli sotto scorta", "Pellicola opaca", "Da ordinare", "Pagina 1 di 1"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(expected))) << expected << "\n" << text.toStdString();
}

TEST(RecordingReportOutputTest, APreviewOfAMissingTemplateFailsAsInTheProgram)
{
    RecordingReportOutput output;
    core::ReportRequest request;
    request.templateName = QStringLiteral("NonEsiste");
    try {
        output.preview(request);
        FAIL() << "no error";
    } catch (const core::ReportError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Modello di stampa non trovato: " CARVENDO_REPORT_DIR "/NonEsiste.html"));
    }
    EXPECT_EQ(output.requests().size(), 1u);
}
