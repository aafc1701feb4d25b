#include "report/BarcodeObjectHandler.h"

#include "report/BarcodeImage.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QTextDocument>
#include <QTextImageFormat>

namespace carvendo::report {

namespace {

const QString Scheme = QStringLiteral("barcode:");

// Sizes in a template are CSS pixels of 96 to the inch; the layout is in the device's.
qreal deviceScale(const QTextDocument* document)
{
    const QPaintDevice* device = document->documentLayout()->paintDevice();
    return device ? qreal(device->logicalDpiY()) / 96.0 : 1.0;
}

} // namespace

BarcodeObjectHandler::BarcodeObjectHandler(QTextObjectInterface* images, QObject* parent)
    : QObject(parent), m_images(images)
{
}

void BarcodeObjectHandler::install(QTextDocument& document)
{
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    auto* handler = new BarcodeObjectHandler(layout->handlerForObject(QTextFormat::ImageObject), &document);
    layout->registerHandler(QTextFormat::ImageObject, handler);
}

bool BarcodeObjectHandler::isBarcode(const QString& imageName)
{
    return imageName.startsWith(Scheme);
}

bool BarcodeObjectHandler::handles(const QTextFormat& format) const
{
    const QTextImageFormat image = format.toImageFormat();
    return isBarcode(image.name()) && image.hasProperty(QTextFormat::ImageWidth) &&
           image.hasProperty(QTextFormat::ImageHeight);
}

QSizeF BarcodeObjectHandler::intrinsicSize(QTextDocument* document, int position, const QTextFormat& format)
{
    if (!handles(format))
        return m_images ? m_images->intrinsicSize(document, position, format) : QSizeF();
    const QTextImageFormat image = format.toImageFormat();
    return QSizeF(image.width(), image.height()) * deviceScale(document);
}

void BarcodeObjectHandler::drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document,
                                      int position, const QTextFormat& format)
{
    if (!handles(format)) {
        if (m_images)
            m_images->drawObject(painter, rect, document, position, format);
        return;
    }
    const QImage bars = BarcodeImage::render(format.toImageFormat().name().mid(Scheme.size()));
    if (!bars.isNull())
        painter->drawImage(rect, bars);
}

} // namespace carvendo::report
