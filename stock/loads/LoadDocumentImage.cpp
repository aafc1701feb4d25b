#include "stock/loads/LoadDocumentImage.h"

#include "core/Db.h"
#include "core/Error.h"
#include "core/Numbering.h"
#include "core/Paths.h"
#include "report/ScannedImage.h"

#include <QDir>

namespace carvendo::stock {

QString LoadDocumentImage::pngPath(int idCarico) const
{
    return QDir(m_paths.acquisitionsDir(core::AcquisitionFolder::Carichi))
        .filePath(QStringLiteral("%1.png").arg(idCarico));
}

QString LoadDocumentImage::attach(int idCarico, int idMagazzino, const QString& imageFile)
{
    const report::ScannedImage image = report::ScannedImage::fromFile(imageFile);
    const QString path = pngPath(idCarico);
    core::Transaction transaction(m_db);
    core::NumberReservation number(m_db, core::Series::Acquisizione);
    m_db.exec(
        QStringLiteral("INSERT INTO acquisizioni (numacq, data, tipodoc, iddoc, immagine, path, idmagazzino) "
                       "VALUES (:NUMERO, NOW(), 'Carico', :IDDOC, :IMMAGINE, :PATH, :IDMAGAZZINO)"),
        {{QStringLiteral("NUMERO"), number.number()},
         {QStringLiteral("IDDOC"), idCarico},
         {QStringLiteral("IMMAGINE"), image.png()},
         {QStringLiteral("PATH"), path.left(255)},
         {QStringLiteral("IDMAGAZZINO"), idMagazzino}});
    image.save(path);
    transaction.commit();
    return path;
}

} // namespace carvendo::stock
