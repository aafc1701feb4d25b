#include "report/ScannedImage.h"

#include "core/Error.h"
#include "core/Paths.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>

namespace carvendo::report {

ScannedImage ScannedImage::fromFile(const QString& imageFile)
{
    const QImage image(imageFile);
    if (image.isNull())
        throw core::Error(QStringLiteral("Impossibile leggere l'immagine: %1").arg(imageFile),
                          core::Error::Kind::Refusal);
    ScannedImage scanned;
    QBuffer buffer(&scanned.m_png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return scanned;
}

void ScannedImage::save(const QString& path) const
{
    core::Paths::ensureDir(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(m_png) != m_png.size() || !file.commit())
        throw core::Error(QStringLiteral("Impossibile scrivere il file %1").arg(path));
}

} // namespace carvendo::report
