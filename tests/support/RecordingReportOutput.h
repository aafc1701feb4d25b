#pragma once

#include "core/ReportOutput.h"
#include "report/ReportEngine.h"

#include <QString>

#include <vector>

namespace carvendo::testing {

// One print asked of the output.
struct RecordedReport
{
    enum class Kind
    {
        Preview,
        Print,
        Pdf
    };
    Kind kind;
    core::ReportRequest request;
    QString path; // Pdf only
};

// The print port of logic tests: records every request in order. Each request is also filled
// through the real engine, so a missing or malformed template throws core::ReportError as it would
// in the program; exportPdf writes the real PDF file (read it back with pdfText()), making an
// offscreen QGuiApplication when the process has none.
class RecordingReportOutput : public core::ReportOutput
{
public:
    explicit RecordingReportOutput(QString reportDir = QStringLiteral(CARVENDO_REPORT_DIR));

    void preview(const core::ReportRequest& request) override;
    void print(const core::ReportRequest& request) override;
    void exportPdf(const core::ReportRequest& request, const QString& path) override;

    const std::vector<RecordedReport>& requests() const { return m_requests; }
    // The last request; throws std::logic_error when there is none.
    const RecordedReport& last() const;

private:
    report::ReportEngine m_engine;
    std::vector<RecordedReport> m_requests;
};

// The text of a PDF file as `pdftotext -layout` gives it (empty when the file is missing).
QString pdfText(const QString& path);
// How many images a PDF file holds (`pdfimages -list`).
int pdfImageCount(const QString& path);

} // namespace carvendo::testing
