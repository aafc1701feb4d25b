#include "pos/ReceiptRecord.h"

#include "core/Db.h"
#include "core/Error.h"
#include "core/Session.h"
#include "pos/PaymentType.h"

#include <stdexcept>

namespace carvendo::pos {

int ReceiptRecord::write(core::Db& db, const core::Session& session, ReceiptVariant variant, int idBanco,
                         const Payment& payment, const Receipt& receipt, const QString& workstation)
{
    if (!db.inTransaction())
        throw std::logic_error("ReceiptRecord::write: fuori da una transazione");
    const bool fromSuspended = variant == ReceiptVariant::SuspendedSale;
    // Name copies are cut to the receipt columns: a long company name must not stop a closing.
    const qint64 written = db.exec(
        QStringLiteral(
            "INSERT INTO scontrini (idBanco, NumDoc, Anno, Mese, Data, Ora, idCliente, Cliente, idOperatore, "
            "Operatore, idMagazzino, Magazzino, ScontoPerc, ScontoVal, Resto, Totale, TipoPagamento, "
            "dasospeso, idsospeso, righe_stampa, riga_avvio, postazione, stato_invio) "
            "SELECT id, NumDoc, Anno, Mese, DATE_FORMAT(data, '%d/%m/%Y'), NOW(), idCliente, "
            "LEFT(COALESCE(NULLIF(RagioneSociale, ''), 'CLIENTE BANCO'), 50), :IDOPERATORE, :OPERATORE, "
            ":IDMAGAZZINO, :MAGAZZINO, ROUND(COALESCE(Sconto, 0)), ScontoVal, Resto, TotaleConto, "
            ":TIPOPAGAMENTO, "
            ":DASOSPESO, :IDSOSPESO, :RIGHE, :AVVIO, :POSTAZIONE, 0 FROM banco WHERE id = :IDBANCO"),
        {{QStringLiteral("IDOPERATORE"), session.currentOperator().id},
         {QStringLiteral("OPERATORE"), session.currentOperator().nome.left(50)},
         {QStringLiteral("IDMAGAZZINO"), session.warehouse().id},
         {QStringLiteral("MAGAZZINO"), session.warehouse().name},
         {QStringLiteral("TIPOPAGAMENTO"),
          fromSuspended ? QStringLiteral("SCONTRINO DA SOSPESO") : PaymentType::orCash(payment.paymentType)},
         {QStringLiteral("DASOSPESO"), fromSuspended},
         {QStringLiteral("IDSOSPESO"), fromSuspended ? QVariant(payment.idSospeso) : QVariant()},
         {QStringLiteral("RIGHE"), receipt.dataLines.join(QLatin1Char('\n'))},
         {QStringLiteral("AVVIO"), receipt.startLine.left(255)},
         {QStringLiteral("POSTAZIONE"), workstation.left(100)},
         {QStringLiteral("IDBANCO"), idBanco}});
    if (written == 0)
        throw core::Error(
            QStringLiteral("La vendita %1 non esiste più: lo scontrino non può essere registrato.")
                .arg(idBanco));
    return int(db.lastInsertId());
}

} // namespace carvendo::pos
