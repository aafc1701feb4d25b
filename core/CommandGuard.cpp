#include "core/CommandGuard.h"

#include <QtGlobal>

namespace carvendo::core {

void showFailure(Dialogs& dialogs, const Error& failure)
{
    if (failure.kind() == Error::Kind::Refusal)
        dialogs.warning(failure.message());
    else
        dialogs.error(failure.message());
}

void showUnexpected(Dialogs& dialogs, const std::exception& failure)
{
    const QString text = QString::fromLocal8Bit(failure.what());
    qCritical("Errore imprevisto: %s", qPrintable(text));
    dialogs.error(QStringLiteral("Errore imprevisto: %1").arg(text));
}

} // namespace carvendo::core
