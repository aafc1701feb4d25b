#include "report/FileReportOutput.h"

#include <QFileInfo>

namespace carvendo::report {

FileReportOutput::FileReportOutput(QString reportDir, QString folder)
    : m_engine(std::move(reportDir)), m_folder(std::move(folder))
{
}

QString FileReportOutput::pathFor(const core::ReportRequest& request) const
{
    return m_folder + u'/' + QFileInfo(request.templateName).completeBaseName() + QStringLiteral(".pdf");
}

void FileReportOutput::preview(const core::ReportRequest& request)
{
    m_engine.writePdf(request, pathFor(request));
}

void FileReportOutput::print(const core::ReportRequest& request)
{
    m_engine.writePdf(request, pathFor(request));
}

void FileReportOutput::exportPdf(const core::ReportRequest& request, const QString& path)
{
    m_engine.writePdf(request, path);
}

} // namespace carvendo::report
