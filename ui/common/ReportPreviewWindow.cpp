#include "ui/common/ReportPreviewWindow.h"

#include "ui/common/WaitCursor.h"

#include "core/CommandGuard.h"
#include "core/Dialogs.h"
#include "core/ReportOutput.h"
#include "report/PagedDocumentPainter.h"
#include "report/PdfReportWriter.h"
#include "report/ReportEngine.h"

#include <QHBoxLayout>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

namespace carvendo::ui {

namespace {

void setUpPrinter(QPrinter& printer, const QTextDocument& document, const QString& title)
{
    printer.setPageLayout(report::PagedDocumentPainter::pageLayout(document));
    printer.setDocName(title);
}

QPushButton* button(const QString& caption, const char* name, QWidget* parent)
{
    auto* result = new QPushButton(caption, parent);
    result->setObjectName(QString::fromLatin1(name));
    result->setAutoDefault(false);
    return result;
}

} // namespace

ReportPreviewWindow::ReportPreviewWindow(std::unique_ptr<QTextDocument> document, const QString& title,
                                         core::Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_document(std::move(document)), m_title(title), m_dialogs(dialogs),
      m_printer(QPrinter::HighResolution)
{
    setWindowTitle(title.isEmpty() ? QStringLiteral("Anteprima di stampa") : title);
    setUpPrinter(m_printer, *m_document, title);

    auto* stampa = button(QStringLiteral("Stampa"), "stampa", this);
    auto* salva = button(QStringLiteral("Salva PDF"), "salvaPdf", this);
    auto* ingrandisci = button(QStringLiteral("Ingrandisci"), "ingrandisci", this);
    auto* riduci = button(QStringLiteral("Riduci"), "riduci", this);
    auto* adatta = button(QStringLiteral("Pagina intera"), "paginaIntera", this);
    auto* chiudi = button(QStringLiteral("Chiudi"), "chiudi", this);

    m_preview = new QPrintPreviewWidget(&m_printer, this);
    // A page that cannot be laid out is told in an error box; the preview stays, without it.
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* printer) {
        core::runGuarded(m_dialogs, [&] {
            const WaitCursor busy;
            report::ReportEngine::paint(*m_document, *printer);
        });
    });

    auto* commands = new QHBoxLayout;
    for (QPushButton* each : {stampa, salva, ingrandisci, riduci, adatta})
        commands->addWidget(each);
    commands->addStretch();
    commands->addWidget(chiudi);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(commands);
    layout->addWidget(m_preview, 1);

    connect(stampa, &QPushButton::clicked, this, &ReportPreviewWindow::printDocument);
    connect(salva, &QPushButton::clicked, this, &ReportPreviewWindow::savePdf);
    connect(ingrandisci, &QPushButton::clicked, m_preview, [this] { m_preview->zoomIn(); });
    connect(riduci, &QPushButton::clicked, m_preview, [this] { m_preview->zoomOut(); });
    connect(adatta, &QPushButton::clicked, m_preview, &QPrintPreviewWidget::fitInView);
    connect(chiudi, &QPushButton::clicked, this, &QDialog::reject);
    resize(900, 1000);
    m_preview->fitToWidth();
    m_preview->updatePreview();
}

ReportPreviewWindow::~ReportPreviewWindow() = default;

int ReportPreviewWindow::pageCount() const
{
    return m_preview->pageCount();
}

bool ReportPreviewWindow::printWithDialog(QTextDocument& document, const QString& title, QWidget* parent)
{
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer, document, title);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Stampa"));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const WaitCursor busy;
    report::ReportEngine::paint(document, printer);
    return true;
}

void ReportPreviewWindow::printDocument()
{
    core::runGuarded(m_dialogs, [this] { printWithDialog(*m_document, m_title, this); });
}

void ReportPreviewWindow::savePdf()
{
    const QString suggested =
        (m_title.isEmpty() ? QStringLiteral("Stampa") : m_title) + QStringLiteral(".pdf");
    const auto path = m_dialogs.chooseFile(QStringLiteral("Salva PDF"), QStringLiteral("PDF (*.pdf)"),
                                           core::FileMode::Save, suggested);
    if (!path)
        return;
    core::runGuarded(m_dialogs, [&] {
        const WaitCursor busy;
        report::PdfReportWriter::write(*m_document, *path, m_title);
    });
    m_preview->updatePreview(); // writing laid the document out for the file; lay it out again here
}

} // namespace carvendo::ui
