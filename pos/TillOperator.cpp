#include "pos/TillOperator.h"

#include "core/Clock.h"
#include "core/IniFile.h"
#include "core/Navigator.h"
#include "foundation/ImpostazioniIni.h"

#include <algorithm>

namespace carvendo::pos {

namespace K = foundation::ImpostazioniKeys;

std::optional<int> logoutPeriodMs(const QString& text)
{
    // An unknown text (edited by hand, or from a newer list) means no automatic logout: logging an
    // operator out after a guessed period would be worse than not at all.
    if (!K::disconnessioneDopo().allowedValues.contains(text))
        return std::nullopt;
    return foundation::disconnessioneMinutes(text) * 60'000;
}

TillOperatorSettings TillOperatorSettings::read(const QString& impostazioniIni)
{
    const foundation::ImpostazioniIni ini(impostazioniIni);
    TillOperatorSettings settings;
    settings.required = ini.flag(K::operatorePosRichiesto());
    if (ini.flag(K::disconnessioneAutomatica())) {
        // ImpostazioniIni reads a text outside the list as the default period; the till needs the
        // text as written to tell an unknown one.
        const foundation::ImpostazioniKey& key = K::disconnessioneDopo();
        const QString period = ini.contains(key) ? core::IniFile(impostazioniIni).value(key.section, key.name)
                                                 : key.defaultValue;
        settings.logoutAfterMs = logoutPeriodMs(period);
    }
    return settings;
}

TillOperator::TillOperator(const core::Clock& clock, TillOperatorSettings settings, QObject* parent)
    : QObject(parent), m_clock(clock), m_settings(settings)
{
}

QString TillOperator::connectionTime() const
{
    if (!isLoggedIn())
        return QStringLiteral("00.00");
    const qint64 minutes = std::max<qint64>(0, m_since.secsTo(m_clock.now()) / 60);
    return QStringLiteral("%1.%2")
        .arg(minutes / 60, 2, 10, QChar(u'0'))
        .arg(minutes % 60, 2, 10, QChar(u'0'));
}

bool TillOperator::logIn(core::Navigator& navigator)
{
    const core::NavigationResult result = navigator.open(OperatorListWindow);
    const QString name = result.value.toString();
    if (!result.accepted || name.isEmpty())
        return false;
    m_name = name;
    m_since = m_clock.now();
    announce();
    return true;
}

void TillOperator::logOut()
{
    m_name.clear();
    m_since = {};
    announce();
}

void TillOperator::announce()
{
    emit changed(state(), connectionTime());
}

} // namespace carvendo::pos
