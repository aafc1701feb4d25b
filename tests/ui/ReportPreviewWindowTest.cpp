// The print preview, built offscreen on a filled template: its pages, its commands, "Salva PDF".
#include "ReportPreviewWindow.h"

#include "QtPrinters.h"
#include "RecordingReportOutput.h"
#include "ReportEngine.h"
#include "ScriptedDialogs.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace carvendo;

namespace {

core::ReportRequest movements(int rows)
{
    std::vector<std::vector<QVariant>> data;
    for (int i = 1; i <= rows; ++i)
        data.push_back({QDate(2026, 12, 6), QStringLiteral("Pos"), QStringLiteral("Cover n. %1").arg(i), 1.0});
    core::ReportRequest request;
    request.templateName = QStringLiteral("MovimentiMagazzino");
    request.title = QStringLiteral("Movimenti di magazzino");
    request.datasets[QStringLiteral("venduti")] = core::Rows({"data", "TipoDoc", "Descrizione", "quantita"}, data);
    request.values[QStringLiteral("titolo")] =
        QStringLiteral("Elenco movimenti di magazzino - Report generato in data 06/12/2026 alle ore 10:15");
    return request;
}

TEST(ReportPreviewWindowTest, ShowsThePagesAndSavesTheSameDocumentAsPdf)
{
    const report::ReportEngine engine(QStringLiteral(CARVENDO_REPORT_DIR));
    carvendo::testing::ScriptedDialogs dialogs;
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/movimenti.pdf");
    dialogs.answerFile(path);

    ui::ReportPreviewWindow window(engine.document(movements(120)), QStringLiteral("Movimenti di magazzino"), dialogs);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Movimenti di magazzino"));
    EXPECT_GT(window.pageCount(), 1);
    QStringList captions;
    for (const QPushButton* button : window.findChildren<QPushButton*>())
        captions << button->text();
    for (const char* caption : {"Stampa", "Salva PDF", "Chiudi"})
        EXPECT_TRUE(captions.contains(QString::fromLatin1(caption))) << caption;

    window.findChild<QPushButton*>(QStringLiteral("salvaPdf"))->click();

    EXPECT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().join(u'|').toStdString();
    const QString text = carvendo::testing::pdfText(path);
    EXPECT_TRUE(text.contains(QStringLiteral("Elenco movimenti di magazzino - Report generato in data 06/12/2026 alle ore 10:15"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Cover n. 120")));
    EXPECT_TRUE(text.contains(QStringLiteral("Pagina 2 di "))) << text.toStdString();
}

} // namespace
