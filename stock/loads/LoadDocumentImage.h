#pragma once

#include <QString>

namespace carvendo::core {
class Db;
class Paths;
} // namespace carvendo::core

namespace carvendo::stock {

// The scanned supplier document of a load: an `acquisizioni` row (numbered, with the image) and a
// PNG named after the load's key in the folder of acquired load images. The row and the file go
// together: a file that cannot be written leaves no row.
class LoadDocumentImage
{
public:
    LoadDocumentImage(core::Db& db, const core::Paths& paths) : m_db(db), m_paths(paths) {}

    // Reads the image file (PNG, JPEG, BMP) and attaches it. Returns the PNG's path; throws a
    // refusal for an unreadable image.
    QString attach(int idCarico, int idMagazzino, const QString& imageFile);
    QString pngPath(int idCarico) const;

private:
    core::Db& m_db;
    const core::Paths& m_paths;
};

} // namespace carvendo::stock
