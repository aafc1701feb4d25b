#include "stock/loads/LoadDocumentImage.h"

#include "core/Db.h"
#include "core/Error.h"
#include "core/Numbering.h"
#include "core/Paths.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QSaveFile>

namespace carvendo::stock {

QString LoadDocumentImage::pngPath(int idCarico) const
{
    return QDir(m_paths.acquisitionsDir(core::AcquisitionFolder::Carichi))
        .filePath(QStringLiteral("%1.png").arg(idCarico));
}

QString LoadDocumentImage::attach(int idCarico, int idMagazzino, const QString& imageFile)
{
    const QImage image(imageFile);
    if (image.isNull())
        throw core::Error(QStringLiteral("Impossibile leggere l'immagine: %1").arg(imageFile),
                          core::Error::Kind::Refusal);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");

    const QString path = pngPath(idCarico);
    core::Transaction transaction(m_db);
    core::NumberReservation number(m_db, core::Series::Acquisizione);
    m_db.exec(QStringLiteral("INSERT INTO acquisizioni (numacq, data, tipodoc, iddoc, immagine, path, idmagazzino) "
                             "VALUES (:NUMERO, NOW(), 'Carico', :IDDOC, :IMMAGINE, :PATH, :IDMAGAZZINO)"),
              {{QStringLiteral("NUMERO"), number.number()},
               {QStringLiteral("IDDOC"), idCarico},
               {QStringLiteral("IMMAGINE"), png},
               {QStringLiteral("PATH"), path.left(255)},
               {QStringLiteral("IDMAGAZZINO"), idMagazzino}});
    core::Paths::ensureDir(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(png) != png.size() || !file.commit())
        throw core::Error(QStringLiteral("Impossibile scrivere il file %1").arg(path));
    transaction.commit();
    return path;
}

} // namespace carvendo::stock
