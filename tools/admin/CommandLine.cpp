#include "tools/admin/CommandLine.h"

namespace carvendo::admin {

const QStringList& CommandLine::valueOptions()
{
    static const QStringList names{QStringLiteral("data"),     QStringLiteral("host"),
                                   QStringLiteral("port"),     QStringLiteral("user"),
                                   QStringLiteral("password"), QStringLiteral("directory"),
                                   QStringLiteral("file"),     QStringLiteral("ragione-sociale")};
    return names;
}

const QStringList& CommandLine::switches()
{
    static const QStringList names{QStringLiteral("conferma"), QStringLiteral("help")};
    return names;
}

CommandLine CommandLine::parse(const QStringList& words)
{
    CommandLine line;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& word = words[i];
        if (!word.startsWith(QStringLiteral("--")) || word == u"--") {
            if (line.m_command.isEmpty())
                line.m_command = word;
            else
                line.m_arguments << word;
            continue;
        }
        QString name = word.mid(2);
        QString value;
        const qsizetype equals = name.indexOf(u'=');
        const bool hasInlineValue = equals >= 0;
        if (hasInlineValue) {
            value = name.mid(equals + 1);
            name = name.left(equals);
        }
        if (switches().contains(name)) {
            if (hasInlineValue)
                throw UsageError(QStringLiteral("L'opzione --%1 non vuole un valore").arg(name));
            line.m_switches.insert(name);
        } else if (valueOptions().contains(name)) {
            if (!hasInlineValue) {
                if (i + 1 >= words.size())
                    throw UsageError(QStringLiteral("Manca il valore dell'opzione --%1").arg(name));
                value = words[++i];
            }
            line.m_values.insert(name, value);
        } else {
            throw UsageError(QStringLiteral("Opzione sconosciuta: --%1").arg(name));
        }
    }
    return line;
}

int CommandLine::intValue(const QString& option, int fallback) const
{
    if (!m_values.contains(option))
        return fallback;
    bool ok = false;
    const int number = m_values.value(option).trimmed().toInt(&ok);
    if (!ok)
        throw UsageError(QStringLiteral("L'opzione --%1 vuole un numero intero, non \"%2\"")
                             .arg(option, m_values.value(option)));
    return number;
}

} // namespace carvendo::admin
