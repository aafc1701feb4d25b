// The print preview, built offscreen on a filled template: its pages and "Salva PDF".
#include "ui/common/ReportPreviewWindow.h"

#include "core/Error.h"
#include "report/ReportEngine.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/RecordingReportOutput.h"
#include "tests/support/ScriptedDialogs.h"

#include <QPainter>
#include <QPlainTextDocumentLayout>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace carvendo;

namespace {

TEST(ReportPreviewWindowTest, ShowsThePagesAndSavesTheSameDocumentAsPdf)
{
    std::vector<std::vector<QVariant>> data;
    for (int i = 1; i <= 120; ++i)
        data.push_back(
            {QDate(2026, 12, 6), QStringLiteral("Pos"), QStringLiteral("Cover n. %1").arg(i), 1.0});
    core::ReportRequest request;
    request.templateName = QStringLiteral("MovimentiMagazzino");
    request.datasets[QStringLiteral("venduti")] =
        core::Rows({"data", "TipoDoc", "Descrizione", "quantita"}, data);
    request.values[QStringLiteral("titolo")] =
        QStringLiteral("Elenco movimenti di magazzino - Report generato in data 06/12/2026 alle ore 10:15");

    const report::ReportEngine engine(QStringLiteral(CARVENDO_REPORT_DIR));
    carvendo::testing::ScriptedDialogs dialogs;
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/movimenti.pdf");
    dialogs.answerFile(path);
    ui::ReportPreviewWindow window(engine.document(request), QStringLiteral("Movimenti di magazzino"),
                                   dialogs);
    EXPECT_GT(window.pageCount(), 1);
    window.findChild<QPushButton*>(QStringLiteral("salvaPdf"))->click();

    EXPECT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().join(u'|').toStdString();
    const QString text = carvendo::testing::pdfText(path);
    EXPECT_TRUE(text.contains(request.values[QStringLiteral("titolo")].toString())) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Pagina 2 di "))) << text.toStdString();
}

// A document whose pages cannot be drawn, as when a picture or a font fails half-way.
class FailingLayout : public QPlainTextDocumentLayout
{
public:
    using QPlainTextDocumentLayout::QPlainTextDocumentLayout;
    // Thrown where the page count is asked, in the engine's own frames: the widget library is built
    // without exceptions, so a throw from inside its drawing would leak what it was holding.
    int pageCount() const override { throw core::Error(QStringLiteral("Impossibile disegnare la pagina")); }
};

TEST(ReportPreviewWindowTest, APageThatCannotBeDrawnIsToldAndThePreviewStays)
{
    auto document = std::make_unique<QTextDocument>();
    document->setPlainText(QStringLiteral("Riga"));
    document->setDocumentLayout(new FailingLayout(document.get()));
    carvendo::testing::ScriptedDialogs dialogs;
    ui::ReportPreviewWindow window(std::move(document), QStringLiteral("Prova"), dialogs);
    window.show();
    ASSERT_FALSE(dialogs.messages().isEmpty());
    for (const QString& message : dialogs.messages())
        EXPECT_EQ(message, QStringLiteral("Impossibile disegnare la pagina"));
    EXPECT_TRUE(window.isVisible());
}

} // namespace
