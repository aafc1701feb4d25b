#pragma once

#include <QImage>
#include <QString>

namespace carvendo::report {

// The picture of a barcode, bars only (the template prints the digits as text, so they stay
// searchable): one bit a pixel, black on white, a pixel for each unit of the symbol (a module is two
// units). Twelve or thirteen digits make an EAN-13 (thirteen must end with the right check digit);
// any other text makes a Code 128. Empty or unencodable text gives a null image.
class BarcodeImage
{
public:
    static QImage render(const QString& value);

private:
    static QImage draw(int symbology, const QByteArray& data);
};

} // namespace carvendo::report
