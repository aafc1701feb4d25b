#include "messaging/RepairSms.h"

#include "core/Dialogs.h"
#include "messaging/SmsGateway.h"

#include <QRegularExpression>

namespace carvendo::messaging {

bool RepairSms::send(const QString& mobile)
{
    SmsSettings settings(m_db);
    const SmsAccount account = settings.account();
    if (!checkSmsAccount(account, m_dialogs))
        return false;
    // A mobile is often typed with spaces or dashes; the number sent has digits only.
    static const QRegularExpression separators(QStringLiteral("[\\s./-]"));
    const QString digits = QString(mobile).remove(separators);
    if (digits.isEmpty()) {
        m_dialogs.beep();
        m_dialogs.warning(QStringLiteral(
            "Attenzione! Il Cliente non ha nessun numero di cellulare registrato per l'invio dell'sms"));
        return false;
    }
    const QString text = settings.repairText();
    m_runner(QStringLiteral("Invio dell'sms in corso..."), [&](const std::function<void(int)>&) {
        SmsGateway(account).send(QStringLiteral("+39") + digits, text);
    });
    return true;
}

} // namespace carvendo::messaging
