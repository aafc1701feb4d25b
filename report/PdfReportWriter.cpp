#include "report/PdfReportWriter.h"

#include "core/ReportOutput.h"
#include "report/PagedDocumentPainter.h"

#include <QDir>
#include <QFileInfo>
#include <QPdfWriter>
#include <QSaveFile>

namespace carvendo::report {

void PdfReportWriter::write(QTextDocument& document, const QString& path, const QString& title)
{
    const core::ReportError failed(QStringLiteral("Impossibile scrivere il file PDF %1").arg(path));
    const QFileInfo file(path);
    if (path.trimmed().isEmpty() || !QDir().mkpath(file.absolutePath()))
        throw failed;
    // Written under a temporary name and renamed when complete: an export that fails halfway (a full
    // disk, a layout error) leaves the last good file of that name as it was.
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        throw failed;
    bool painted = false;
    {
        QPdfWriter writer(&out);
        writer.setResolution(300);
        writer.setPageLayout(PagedDocumentPainter::pageLayout(document));
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Carvendo Pro"));
        painted = PagedDocumentPainter::paint(document, writer);
    }
    if (!painted) {
        out.cancelWriting();
        throw failed;
    }
    if (!out.commit())
        throw failed;
}

} // namespace carvendo::report
