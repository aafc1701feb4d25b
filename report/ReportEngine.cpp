#include "report/ReportEngine.h"

#include "core/IniFile.h"
#include "core/ReportOutput.h"
#include "report/DataBinder.h"
#include "report/PagedDocumentPainter.h"
#include "report/PdfReportWriter.h"
#include "report/ReportDocument.h"
#include "report/TemplateFiller.h"
#include "report/TemplateLoader.h"

namespace carvendo::report {

ReportEngine::ReportEngine(QString reportDir, QString impostazioniIni)
    : m_reportDir(std::move(reportDir)), m_impostazioniIni(std::move(impostazioniIni))
{
}

int ReportEngine::quantityDecimals() const
{
    if (m_impostazioniIni.isEmpty())
        return 0;
    return core::IniFile(m_impostazioniIni).boolValue(u"Impostazioni", u"3 Decimali") ? 3 : 0;
}

QString ReportEngine::html(const core::ReportRequest& request) const
{
    const TemplateLoader loader(m_reportDir);
    const QString text = loader.load(request.templateName);
    return TemplateFiller::fill(text, DataBinder::bind(request, quantityDecimals()),
                                loader.pathOf(request.templateName));
}

std::unique_ptr<QTextDocument> ReportEngine::document(const core::ReportRequest& request) const
{
    return std::make_unique<ReportDocument>(html(request), request.logo, m_reportDir);
}

void ReportEngine::writePdf(const core::ReportRequest& request, const QString& path) const
{
    const auto filled = document(request);
    PdfReportWriter::write(*filled, path, request.title);
}

void ReportEngine::paint(QTextDocument& document, QPagedPaintDevice& device)
{
    if (!PagedDocumentPainter::paint(document, device))
        throw core::ReportError(QStringLiteral("Impossibile stampare il documento"));
}

} // namespace carvendo::report
