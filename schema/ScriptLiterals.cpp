#include "schema/ScriptLiterals.h"

namespace carvendo::schema {

QString quoteIdentifier(QStringView name)
{
    QString quoted = name.toString();
    quoted.replace(QLatin1Char('`'), QLatin1String("``"));
    return QLatin1Char('`') + quoted + QLatin1Char('`');
}

QString stringLiteral(QStringView text)
{
    QString literal;
    literal.reserve(text.size() + 2);
    literal += QLatin1Char('\'');
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\'':
            literal += QLatin1String("''");
            break;
        case '\\':
            literal += QLatin1String("\\\\");
            break;
        case '\0':
            literal += QLatin1String("\\0");
            break;
        case '\n':
            literal += QLatin1String("\\n");
            break;
        case '\r':
            literal += QLatin1String("\\r");
            break;
        case 0x1a:
            literal += QLatin1String("\\Z");
            break;
        default:
            literal += c;
        }
    }
    literal += QLatin1Char('\'');
    return literal;
}

} // namespace carvendo::schema
