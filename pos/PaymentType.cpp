#include "pos/PaymentType.h"

namespace carvendo::pos::PaymentType {

QString orCash(const QString& paymentType)
{
    const QString trimmed = paymentType.trimmed();
    return trimmed.isEmpty() ? Contanti : trimmed;
}

} // namespace carvendo::pos::PaymentType
