#pragma once

#include <QObject>
#include <QTextObjectInterface>

class QTextDocument;

namespace carvendo::report {

// Draws the barcodes of a document ("barcode:VALUE" images with a width and a height) as one-bit
// pictures: laying them out needs no picture at all, and a PDF keeps them sharp and small (a list
// prints one per row). Every other image goes to the handler the document had before.
class BarcodeObjectHandler : public QObject, public QTextObjectInterface
{
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    // Takes over the document's images.
    static void install(QTextDocument& document);

    QSizeF intrinsicSize(QTextDocument* document, int position, const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int position,
                    const QTextFormat& format) override;

    static bool isBarcode(const QString& imageName);

private:
    BarcodeObjectHandler(QTextObjectInterface* images, QObject* parent);
    bool handles(const QTextFormat& format) const;

    QTextObjectInterface* m_images;
};

} // namespace carvendo::report
