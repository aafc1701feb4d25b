#include "messaging/RepairSms.h"

#include "core/Dialogs.h"
#include "messaging/SmsGateway.h"

#include <QRegularExpression>

namespace carvendo::messaging {

QString RepairSms::internationalNumber(const QString& mobile)
{
    // A mobile is often typed with spaces, dots or dashes, and sometimes already with its prefix.
    static const QRegularExpression separators(QStringLiteral("[\\s./()-]"));
    QString number = QString(mobile).remove(separators);
    if (number.startsWith(QStringLiteral("00")))
        number = QLatin1Char('+') + number.mid(2);
    if (number.isEmpty() || number.startsWith(QLatin1Char('+')))
        return number;
    return QStringLiteral("+39") + number;
}

bool RepairSms::send(const QString& mobile)
{
    core::RecordValues accountRecord = SmsSettings::accountRecord();
    core::RecordValues texts = SmsSettings::textsRecord();
    SmsSettings(m_db).read(accountRecord, texts);
    const SmsAccount account = SmsSettings::accountOf(accountRecord);
    if (!checkSmsAccount(account, m_dialogs))
        return false;
    const QString number = internationalNumber(mobile);
    if (number.isEmpty()) {
        m_dialogs.beep();
        m_dialogs.warning(QStringLiteral(
            "Attenzione! Il Cliente non ha nessun numero di cellulare registrato per l'invio dell'sms"));
        return false;
    }
    const QString text = texts.value(QStringLiteral("TestoCat")).toString();
    m_runner(QStringLiteral("Invio dell'sms in corso..."),
             [&](const std::function<void(int)>&) { SmsGateway(account).send(number, text); });
    return true;
}

} // namespace carvendo::messaging
