#pragma once

#include <QString>

namespace carvendo::pos {

// The payment types of a sale, as the till, the receipt row and the cash book write them.
namespace PaymentType {
inline const QString Contanti = QStringLiteral("Contanti");
inline const QString Bancomat = QStringLiteral("Bancomat");
inline const QString CartaDiCredito = QStringLiteral("Carta di Credito");
inline const QString Assegno = QStringLiteral("Assegno");
inline const QString BuonoDiCredito = QStringLiteral("Buono di Credito");
inline const QString Coupon = QStringLiteral("Coupon");
// A sale with an operator pack closed on the pack's terms (its transaction is recorded).
inline const QString VodafonePack = QStringLiteral("Vodafone Pack");

// A sale for which no payment type was chosen was paid in cash: everywhere a payment type is
// written or compared, an empty one counts as "Contanti".
QString orCash(const QString& paymentType);
} // namespace PaymentType

} // namespace carvendo::pos
