#include "report/BarcodeImage.h"

#include <QRegularExpression>

#include <algorithm>
#include <memory>

#include <zint.h>

namespace carvendo::report {

namespace {

// Pixels per unit of the vector output: whole pixels keep every bar the same width. The picture is
// drawn at the size the template gives, a sharp one-bit image at any scale.
constexpr int PixelsPerUnit = 1;

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

    // One bit a pixel, set straight from the bars: small in a PDF file and quick to make, a list
    // prints one per row.
    const zint_vector* vector = symbol->vector;
    QImage image(qRound(vector->width * PixelsPerUnit), qRound(vector->height * PixelsPerUnit),
                 QImage::Format_Mono);
    if (image.isNull())
        return {};
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)}); // black and white, in the order a PDF keeps
    image.fill(1);
    for (const zint_vector_rect* rect = vector->rectangles; rect; rect = rect->next) {
        const int left = std::max(0, qRound(rect->x * PixelsPerUnit));
        const int right = std::min(image.width(), qRound((rect->x + rect->width) * PixelsPerUnit));
        const int top = std::max(0, qRound(rect->y * PixelsPerUnit));
        const int bottom = std::min(image.height(), qRound((rect->y + rect->height) * PixelsPerUnit));
        for (int y = top; y < bottom; ++y) {
            uchar* line = image.scanLine(y);
            for (int x = left; x < right; ++x)
                line[x >> 3] &= uchar(~(0x80 >> (x & 7)));
        }
    }
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
