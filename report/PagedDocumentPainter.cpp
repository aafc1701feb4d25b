#include "report/PagedDocumentPainter.h"

#include "report/ListPagination.h"
#include "report/ReportDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextDocument>

namespace carvendo::report {

namespace {

// The pages of one print on one device: the body above, "Pagina N di M" at the foot.
class PageWriter
{
public:
    PageWriter(QPainter& painter, QPagedPaintDevice& device, const QFont& documentFont)
        : m_painter(painter), m_device(device),
          m_page(device.pageLayout().paintRectPixels(device.logicalDpiX()).size()),
          m_footerFont(footerFont(documentFont)), m_metrics(m_footerFont, &device)
    {
    }

    QSizeF body() const { return {m_page.width(), m_page.height() - m_metrics.height() * 2}; }

    void startPage(int index)
    {
        if (index > 0)
            m_device.newPage();
    }

    // The page `index` of a document laid out on pages of the body's size.
    void drawPageOf(QTextDocument& document, int index)
    {
        const qreal height = body().height();
        m_painter.save();
        m_painter.translate(0, -index * height);
        const QRectF visible(0, index * height, m_page.width(), height);
        m_painter.setClipRect(visible);
        document.drawContents(&m_painter, visible);
        m_painter.restore();
    }

    // A document laid out without page breaks, on the page from its top; shrunk to the body in the
    // unlikely case it came out taller than measured, so that nothing is lost.
    void drawWhole(QTextDocument& document, qreal height)
    {
        m_painter.save();
        if (height > body().height()) {
            const qreal scale = body().height() / height;
            m_painter.scale(scale, scale);
        }
        const QRectF visible(0, 0, m_page.width(), std::max(height, body().height()));
        m_painter.setClipRect(visible);
        document.drawContents(&m_painter, visible);
        m_painter.restore();
    }

    void drawFooter(int index, int pageCount)
    {
        m_painter.setFont(m_footerFont);
        m_painter.setPen(Qt::darkGray);
        m_painter.drawText(
            QRectF(0, m_page.height() - m_metrics.height(), m_page.width(), m_metrics.height()),
            Qt::AlignRight | Qt::AlignVCenter, PagedDocumentPainter::footerText(index + 1, pageCount));
    }

private:
    static QFont footerFont(QFont font)
    {
        font.setPointSizeF(8);
        return font;
    }

    QPainter& m_painter;
    QPagedPaintDevice& m_device;
    QSizeF m_page;
    QFont m_footerFont;
    QFontMetricsF m_metrics;
};

// A document laid out by Qt on pages of the body's height.
void paintFlow(QTextDocument& document, QPagedPaintDevice& device, PageWriter& writer)
{
    document.documentLayout()->setPaintDevice(&device);
    document.setPageSize(writer.body());
    const int pageCount = document.pageCount();
    for (int index = 0; index < pageCount; ++index) {
        writer.startPage(index);
        writer.drawPageOf(document, index);
        writer.drawFooter(index, pageCount);
    }
    // The device may go away after this print: the layout must not keep pointing at it.
    document.documentLayout()->setPaintDevice(nullptr);
}

// A long list, page by page (ListPagination); false when it cannot be paged that way.
bool paintList(const ReportDocument& document, QPagedPaintDevice& device, PageWriter& writer)
{
    ListPagination pagination(
        *document.list(), [&document](const QString& html) { return document.page(html); }, device,
        writer.body());
    const auto pages = pagination.pages();
    if (!pages)
        return false;
    const int pageCount = int(pages->size());
    std::unique_ptr<QTextDocument> tail;
    for (int index = 0; index < pageCount; ++index) {
        const ListPage& page = (*pages)[std::size_t(index)];
        writer.startPage(index);
        if (page.tailPage >= 0) {
            if (!tail)
                tail = pagination.tailDocument();
            writer.drawPageOf(*tail, page.tailPage);
        } else {
            const auto rows = pagination.pageDocument(page);
            writer.drawWhole(*rows, rows->documentLayout()->documentSize().height());
        }
        writer.drawFooter(index, pageCount);
    }
    return true;
}

} // namespace

QString PagedDocumentPainter::footerText(int page, int pageCount)
{
    return QStringLiteral("Pagina %1 di %2").arg(page).arg(pageCount);
}

QPageLayout PagedDocumentPainter::pageLayout(const QTextDocument& document)
{
    const auto* report = qobject_cast<const ReportDocument*>(&document);
    const bool landscape = report && report->landscape();
    return QPageLayout(QPageSize(QPageSize::A4), landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(15, 12, 15, 12), QPageLayout::Millimeter);
}

bool PagedDocumentPainter::paint(QTextDocument& document, QPagedPaintDevice& device)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    PageWriter writer(painter, device, document.defaultFont());
    auto* report = qobject_cast<ReportDocument*>(&document);
    if (!report || !report->list() || !paintList(*report, device, writer)) {
        if (report)
            report->fillWhole();
        paintFlow(document, device, writer);
    }
    painter.end();
    return true;
}

} // namespace carvendo::report
