#pragma once

#include <QPageLayout>
#include <QString>

class QPagedPaintDevice;
class QTextDocument;

namespace carvendo::report {

// Lays a document out on the pages of a device (a PDF file, a printer, a preview) and paints it,
// with "Pagina N di M" at the foot of every page. The device's page size and margins are kept.
// A print holding a list is laid out a page at a time (ListPagination); any other document, or a
// list that cannot be cut into pages row by row, is laid out whole.
// Returns false when the device cannot be painted on (a file that cannot be written).
class PagedDocumentPainter
{
public:
    static bool paint(QTextDocument& document, QPagedPaintDevice& device);
    // The pages of every print: A4 with 15 mm side margins, portrait unless the template asks for
    // landscape (ReportDocument).
    static QPageLayout pageLayout(const QTextDocument& document);
    static QString footerText(int page, int pageCount);
};

} // namespace carvendo::report
