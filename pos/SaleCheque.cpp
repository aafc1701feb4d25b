#include "pos/SaleCheque.h"

#include "core/Db.h"
#include "core/Error.h"
#include "core/Numbering.h"
#include "core/Paths.h"
#include "report/ScannedImage.h"

#include <QDir>

namespace carvendo::pos {

QString SaleCheque::pngPath(int saleId) const
{
    return QDir(m_paths.acquisitionsDir(core::AcquisitionFolder::Pos))
        .filePath(QStringLiteral("%1.png").arg(saleId));
}

int SaleCheque::capture(int saleId, int warehouseId, const QString& imageFile, const ChequeDetails& cheque)
{
    const report::ScannedImage image = report::ScannedImage::fromFile(imageFile);
    const QString path = pngPath(saleId);
    core::Transaction transaction(m_db);
    core::NumberReservation number(m_db, core::Series::Acquisizione);
    m_db.exec(
        QStringLiteral("INSERT INTO acquisizioni (numacq, data, tipodoc, associazione, numdocassoc, path, "
                       "iddoc, idmagazzino) SELECT :NUMERO, CURRENT_DATE, 'Assegno', 'Pos', NumDoc, :PATH, "
                       "id, :IDMAGAZZINO FROM banco WHERE id = :IDBANCO"),
        {{QStringLiteral("NUMERO"), number.number()},
         {QStringLiteral("PATH"), path.left(255)},
         {QStringLiteral("IDMAGAZZINO"), warehouseId},
         {QStringLiteral("IDBANCO"), saleId}});
    if (m_db.exec(QStringLiteral(
                      "UPDATE banco SET num_acquisizione = :NUMERO, data_ass = CURRENT_DATE, importo_ass "
                      "= :IMPORTO, banca_ass = LEFT(:BANCA, 120), num_ass = LEFT(:NUMASS, 70) WHERE id = "
                      ":IDBANCO"),
                  {{QStringLiteral("NUMERO"), number.number()},
                   {QStringLiteral("IMPORTO"), QVariant::fromValue(cheque.amount)},
                   {QStringLiteral("BANCA"), cheque.bank},
                   {QStringLiteral("NUMASS"), cheque.number},
                   {QStringLiteral("IDBANCO"), saleId}}) == 0)
        throw core::Error(
            QStringLiteral("La vendita %1 non esiste più: l'assegno non può essere registrato.").arg(saleId));
    image.save(path);
    transaction.commit();
    return number.number();
}

} // namespace carvendo::pos
