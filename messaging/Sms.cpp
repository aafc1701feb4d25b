#include "messaging/Sms.h"

#include "core/Dialogs.h"
#include "messaging/SmsGateway.h"
#include "messaging/SmsSettings.h"

namespace carvendo::messaging {

Sms::Sms(core::Db& company, core::Dialogs& dialogs, core::JobRunner runner)
    : m_db(company), m_dialogs(dialogs), m_runner(std::move(runner)), m_account(SmsSettings::accountRecord()),
      m_texts(SmsSettings::textsRecord())
{
}

void Sms::open()
{
    SmsSettings(m_db).read(m_account, m_texts);
}

void Sms::save()
{
    SmsSettings(m_db).write(m_account, m_texts);
}

bool Sms::checkAccount()
{
    const SmsAccount account = SmsSettings::accountOf(m_account);
    if (!checkSmsAccount(account, m_dialogs))
        return false;
    m_runner(QStringLiteral("Verifica dell'account Sms..."), [&](const std::function<void(int)>&) {
        SmsGateway(account).send(SmsGateway::testNumber(), QString());
    });
    m_dialogs.information(QStringLiteral("Account Sms verificato: il servizio ha accettato i dati"));
    return true;
}

} // namespace carvendo::messaging
