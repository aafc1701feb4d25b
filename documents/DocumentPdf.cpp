#include "documents/DocumentPdf.h"

#include "documents/DocumentPrint.h"
#include "documents/SalesDocument.h"

#include "core/DocumentTemplates.h"
#include "core/Error.h"
#include "core/ReportOutput.h"

namespace carvendo::documents {

DocumentPdf::DocumentPdf(core::Db& db, const core::Paths& paths, core::ReportOutput& reports,
                         core::CompanyHeading heading)
    : m_db(db), m_paths(paths), m_reports(reports), m_heading(std::move(heading))
{
}

QString DocumentPdf::notSavedMessage()
{
    return QStringLiteral("Salvare il documento prima di crearne il PDF.");
}

QString DocumentPdf::write(const SalesDocument& document, const QString& templateName) const
{
    if (!document.isNumbered())
        throw core::Error(notSavedMessage(), core::Error::Kind::Refusal);
    const QString printedWith =
        templateName.isEmpty()
            ? core::DocumentTemplates(m_db).templateFor(QLatin1String(document.kind().reportName))
            : templateName;
    const QString path = document.pdfPath(m_paths);
    m_reports.exportPdf(
        DocumentPrint(m_db, document.kind(), m_heading).request(document.header().id, printedWith), path);
    return path;
}

} // namespace carvendo::documents
