#pragma once

#include <QByteArray>
#include <QString>

namespace carvendo::report {

// A document acquired from an image file (a supplier's delivery note, a cheque), as the
// acquisitions archive keeps it: PNG bytes for its row, and a PNG file of its own.
class ScannedImage
{
public:
    // Reads a PNG, JPEG or BMP file; a file that is no readable image is refused (core::Error).
    static ScannedImage fromFile(const QString& imageFile);

    const QByteArray& png() const { return m_png; }
    // Writes the PNG whole (its folder made when missing) or throws core::Error: never a half file.
    void save(const QString& path) const;

private:
    QByteArray m_png;
};

} // namespace carvendo::report
