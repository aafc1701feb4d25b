#include "report/PdfReportWriter.h"

#include "core/ReportOutput.h"
#include "report/PagedDocumentPainter.h"

#include <QDir>
#include <QFileInfo>
#include <QPdfWriter>

namespace carvendo::report {

void PdfReportWriter::write(QTextDocument& document, const QString& path, const QString& title)
{
    const QFileInfo file(path);
    if (path.trimmed().isEmpty() || !QDir().mkpath(file.absolutePath()))
        throw core::ReportError(QStringLiteral("Impossibile scrivere il file PDF %1").arg(path));
    {
        QPdfWriter writer(path);
        writer.setResolution(300);
        writer.setPageLayout(PagedDocumentPainter::pageLayout(document));
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Carvendo Pro"));
        if (PagedDocumentPainter::paint(document, writer))
            return;
    }
    throw core::ReportError(QStringLiteral("Impossibile scrivere il file PDF %1").arg(path));
}

} // namespace carvendo::report
