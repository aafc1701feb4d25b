#include "core/AddressChecks.h"

namespace carvendo::core {

namespace {

bool isAsciiLetter(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

} // namespace

bool isCountryCode(const QString& text)
{
    const QString code = text.trimmed();
    return code.size() == 2 && isAsciiLetter(code[0]) && isAsciiLetter(code[1]);
}

QString emailProblem(const QString& address)
{
    const qsizetype at = address.indexOf(u'@');
    for (qsizetype i = 0; i < address.size(); ++i) {
        const QChar c = address[i];
        const bool allowed = isAsciiLetter(c) || (c >= u'0' && c <= u'9') || c == u'@' || c == u'.' ||
                             c == u'_' || c == u'~' || c == u'-' || (c == u'+' && (at < 0 || i < at));
        if (!allowed) {
            // A character outside the basic plane is shown whole, not as half a surrogate pair.
            const qsizetype length = (c.isHighSurrogate() && i + 1 < address.size()) ? 2 : 1;
            return QStringLiteral("Hai inserito caratteri non consentiti \"") + address.mid(i, length) + u'"';
        }
    }
    if (at < 0)
        return QStringLiteral("il simbolo \"@\" non è presente");
    if (address.count(u'@') > 1)
        return QStringLiteral("Hai inserito troppe \"@\"s");
    if (at == 0)
        return QStringLiteral("Nessun nome inserito prima del carattere @ ");
    const QString domain = address.mid(at + 1);
    if (!domain.contains(u'.'))
        return QStringLiteral("Nessun \".\" inserito nel dominio");
    if (domain.startsWith(u'.'))
        return QStringLiteral("no domain name before \".\"");
    if (domain.endsWith(u'.'))
        return QStringLiteral("Il \".\" non può essere inserito come ultimo carattere");
    return {};
}

} // namespace carvendo::core
