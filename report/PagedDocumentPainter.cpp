#include "PagedDocumentPainter.h"

#include "ReportDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPageSize>
#include <QPainter>
#include <QTextDocument>

namespace carvendo::report {

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

    // Lay the text out in the device's units, or it comes out at the size of screen pixels.
    document.documentLayout()->setPaintDevice(&device);
    const QSizeF page = device.pageLayout().paintRectPixels(device.logicalDpiX()).size();

    QFont footerFont = document.defaultFont();
    footerFont.setPointSizeF(8);
    painter.setFont(footerFont);
    const QFontMetricsF metrics(footerFont, &device);
    const qreal footerHeight = metrics.height() * 2;
    const qreal bodyHeight = page.height() - footerHeight;
    document.setPageSize(QSizeF(page.width(), bodyHeight));
    const int pageCount = document.pageCount();

    for (int index = 0; index < pageCount; ++index) {
        if (index > 0)
            device.newPage();
        painter.save();
        painter.translate(0, -index * bodyHeight);
        const QRectF visible(0, index * bodyHeight, page.width(), bodyHeight);
        painter.setClipRect(visible);
        document.drawContents(&painter, visible);
        painter.restore();

        painter.setFont(footerFont);
        painter.setPen(Qt::darkGray);
        painter.drawText(QRectF(0, page.height() - metrics.height(), page.width(), metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, footerText(index + 1, pageCount));
    }
    painter.end();
    // The device may go away after this print: the layout must not keep pointing at it.
    document.documentLayout()->setPaintDevice(nullptr);
    return true;
}

} // namespace carvendo::report
