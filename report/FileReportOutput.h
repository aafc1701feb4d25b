#pragma once

#include "core/ReportOutput.h"
#include "report/ReportEngine.h"

namespace carvendo::report {

// A print output without a screen or printer (batch work, the screenshots program): previews and
// prints become PDF files named after the template in a folder; exportPdf writes where it is told.
class FileReportOutput : public core::ReportOutput
{
public:
    FileReportOutput(QString reportDir, QString folder);

    void preview(const core::ReportRequest& request) override;
    void print(const core::ReportRequest& request) override;
    void exportPdf(const core::ReportRequest& request, const QString& path) override;

    // Where a preview or print of the request goes: <folder>/<template base name>.pdf.
    QString pathFor(const core::ReportRequest& request) const;

private:
    ReportEngine m_engine;
    QString m_folder;
};

} // namespace carvendo::report
