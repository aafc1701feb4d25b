#include "BarcodeImage.h"

#include <QPainter>
#include <QRegularExpression>

#include <memory>

#include <zint.h>

namespace carvendo::report {

namespace {

// Pixels per unit of the vector output: whole pixels keep every bar the same width.
constexpr int PixelsPerUnit = 4;

struct SymbolDeleter
{
    void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};

} // namespace

QImage BarcodeImage::draw(int symbology, const QByteArray& data)
{
    std::unique_ptr<zint_symbol, SymbolDeleter> symbol(ZBarcode_Create());
    if (!symbol)
        return {};
    symbol->symbology = symbology;
    symbol->show_hrt = 0;
    symbol->height = 40.0f;
    const int error = ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char*>(data.constData()),
                                      int(data.size()));
    if (error >= ZINT_ERROR)
        return {};
    if (ZBarcode_Buffer_Vector(symbol.get(), 0) >= ZINT_ERROR || !symbol->vector)
        return {};

    const zint_vector* vector = symbol->vector;
    QImage image(qRound(vector->width * PixelsPerUnit), qRound(vector->height * PixelsPerUnit), QImage::Format_RGB32);
    if (image.isNull())
        return {};
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.scale(PixelsPerUnit, PixelsPerUnit);
    for (const zint_vector_rect* rect = vector->rectangles; rect; rect = rect->next)
        painter.fillRect(QRectF(rect->x, rect->y, rect->width, rect->height), Qt::black);
    return image;
}

QImage BarcodeImage::render(const QString& value)
{
    static const QRegularExpression eanDigits(QStringLiteral("^\\d{12,13}$"));
    const QString text = value.trimmed();
    if (text.isEmpty())
        return {};
    if (eanDigits.match(text).hasMatch()) {
        QImage ean = draw(BARCODE_EANX, text.toLatin1());
        if (!ean.isNull())
            return ean;
    }
    return draw(BARCODE_CODE128, text.toUtf8());
}

} // namespace carvendo::report
