#include "pos/PackUnload.h"

#include "core/Db.h"
#include "core/Error.h"
#include "core/Numbering.h"
#include "core/Session.h"

namespace carvendo::pos {

namespace {

QString optionCode(PackUnload::Option option)
{
    switch (option) {
    case PackUnload::Option::FreeWithPoints:
        return QStringLiteral("GRATUITO");
    case PackUnload::Option::PointsAndContribution:
        return QStringLiteral("PUNTI+CON");
    case PackUnload::Option::NormalSale:
        return QStringLiteral("NORMALE");
    case PackUnload::Option::Subscription:
        return QStringLiteral("ABBONAM");
    case PackUnload::Option::Promotion:
        return QStringLiteral("PROMO");
    }
    return {};
}

} // namespace

void PackUnload::write(core::Db& db, const core::Session& session, int saleId, const QDate& today) const
{
    QStringList toggles;
    if (royalty)
        toggles << QStringLiteral("RTY");
    if (commitment)
        toggles << QStringLiteral("VNC");
    // The pack row of the sale (at most one: the till refuses a second pack).
    const qint64 written = db.exec(
        QStringLiteral(
            "INSERT INTO vodafone_scarico (idarticolo, codice, descrizione, tipo_scarico, cod_scarico, "
            "cod_contributo, contr_cliente, imponibile, contr_voda, tot_punti, importo_abb, sc_promo, "
            "id_cliente, anno, mese, data_scarico, selezione, evasione, idmagazzino, Magazzino) "
            "SELECT d.idarticolo, d.Codice, LEFT(d.descrizione, 255), :TIPO, :CODICE, :CONTRIBUTO, "
            ":CONTRCLIENTE, d.SubTotale, :CONTRVODA, :PUNTI, :ABBONAMENTO, :SCPROMO, b.idCliente, :ANNO, "
            ":MESE, :DATA, 0, 0, :IDMAGAZZINO, LEFT(:MAGAZZINO, 50) FROM dettbanco d JOIN banco b ON b.id = "
            "d.idBanco JOIN articoli a ON a.ID = d.idarticolo WHERE d.idBanco = :IDBANCO AND "
            "a.vodafone_pack = 1 ORDER BY d.ID LIMIT 1"),
        {{QStringLiteral("TIPO"), optionCode(option)},
         {QStringLiteral("CODICE"), toggles.join(QLatin1Char(' '))},
         {QStringLiteral("CONTRIBUTO"),
          customerContribution.isZero() ? QStringLiteral("S.C") : QStringLiteral("C.C")},
         {QStringLiteral("CONTRCLIENTE"), QVariant::fromValue(customerContribution)},
         {QStringLiteral("CONTRVODA"), QVariant::fromValue(operatorContribution)},
         {QStringLiteral("PUNTI"), points},
         {QStringLiteral("ABBONAMENTO"), QVariant::fromValue(subscription)},
         {QStringLiteral("SCPROMO"), QVariant::fromValue(promotionDiscount)},
         {QStringLiteral("ANNO"), QString::number(today.year())},
         {QStringLiteral("MESE"), core::monthName(today.month())},
         {QStringLiteral("DATA"), today},
         {QStringLiteral("IDMAGAZZINO"), session.warehouse().id},
         {QStringLiteral("MAGAZZINO"), session.warehouse().name},
         {QStringLiteral("IDBANCO"), saleId}});
    if (written == 0)
        throw core::Error(QStringLiteral("Nella vendita non c'è nessun Vodafone Pack: scegliere un altro "
                                         "tipo di pagamento"),
                          core::Error::Kind::Refusal);
}

} // namespace carvendo::pos
