#include "ui/common/QtReportOutput.h"

#include "ui/common/ReportPreviewWindow.h"
#include "ui/common/WaitCursor.h"

#include <QApplication>
#include <QTextDocument>

namespace carvendo::ui {

QtReportOutput::QtReportOutput(QString reportDir, core::Dialogs& dialogs, QString impostazioniIni)
    : m_engine(std::move(reportDir), std::move(impostazioniIni)), m_dialogs(dialogs)
{
}

// Filling a template with a long list takes a moment: the busy cursor shows meanwhile.
std::unique_ptr<QTextDocument> QtReportOutput::document(const core::ReportRequest& request) const
{
    const WaitCursor busy;
    return m_engine.document(request);
}

void QtReportOutput::preview(const core::ReportRequest& request)
{
    ReportPreviewWindow window(document(request), request.title, m_dialogs, QApplication::activeWindow());
    window.exec();
}

void QtReportOutput::print(const core::ReportRequest& request)
{
    const auto document = this->document(request);
    ReportPreviewWindow::printWithDialog(*document, request.title, QApplication::activeWindow());
}

void QtReportOutput::exportPdf(const core::ReportRequest& request, const QString& path)
{
    // No busy cursor here: a long export runs in a background job, off the window thread.
    m_engine.writePdf(request, path);
}

} // namespace carvendo::ui
