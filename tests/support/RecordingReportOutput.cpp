#include "tests/support/RecordingReportOutput.h"

#include <QGuiApplication>
#include <QProcess>

#include <stdexcept>

namespace carvendo::testing {

namespace {

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Fonts and images need a QGuiApplication: one is made offscreen when the process has none.
void ensureGuiApplication()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    if (QCoreApplication::instance())
        throw std::logic_error("A PDF needs a QGuiApplication, not a QCoreApplication");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tests";
    static char* argv[] = {name, nullptr};
    // Kept to the end of the process and never destroyed: tearing Qt down among the static
    // destructors is not safe.
    static QGuiApplication* application = new QGuiApplication(argc, argv);
    Q_UNUSED(application);
}

} // namespace

RecordingReportOutput::RecordingReportOutput(QString reportDir) : m_engine(std::move(reportDir)) {}

void RecordingReportOutput::preview(const core::ReportRequest& request)
{
    m_requests.push_back({RecordedReport::Kind::Preview, request, {}});
    m_engine.html(request);
}

void RecordingReportOutput::print(const core::ReportRequest& request)
{
    m_requests.push_back({RecordedReport::Kind::Print, request, {}});
    m_engine.html(request);
}

void RecordingReportOutput::exportPdf(const core::ReportRequest& request, const QString& path)
{
    m_requests.push_back({RecordedReport::Kind::Pdf, request, path});
    ensureGuiApplication();
    m_engine.writePdf(request, path);
}

const RecordedReport& RecordingReportOutput::last() const
{
    if (m_requests.empty())
        throw std::logic_error("No print was asked");
    return m_requests.back();
}

QString pdfText(const QString& path)
{
    return run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
}

int pdfImageCount(const QString& path)
{
    // Two heading lines, then one line per image.
    const QStringList lines =
        run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path}).split(u'\n', Qt::SkipEmptyParts);
    return std::max<int>(0, int(lines.size()) - 2);
}

} // namespace carvendo::testing
