#include "QtReportOutput.h"

#include "ReportPreviewWindow.h"

#include <QApplication>
#include <QTextDocument>

namespace carvendo::ui {

QtReportOutput::QtReportOutput(QString reportDir, core::Dialogs& dialogs)
    : m_engine(std::move(reportDir)), m_dialogs(dialogs)
{
}

void QtReportOutput::preview(const core::ReportRequest& request)
{
    ReportPreviewWindow window(m_engine.document(request), request.title, m_dialogs, QApplication::activeWindow());
    window.exec();
}

void QtReportOutput::print(const core::ReportRequest& request)
{
    const auto document = m_engine.document(request);
    ReportPreviewWindow::printWithDialog(*document, request.title, QApplication::activeWindow());
}

void QtReportOutput::exportPdf(const core::ReportRequest& request, const QString& path)
{
    m_engine.writePdf(request, path);
}

} // namespace carvendo::ui
