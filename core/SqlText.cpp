#include "core/SqlText.h"

#include <QRegularExpression>

namespace carvendo::core {

namespace {

bool isIdentifierStart(QChar c)
{
    return c.isLetter() || c == u'_';
}
bool isIdentifierChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

// Index just past a quoted piece starting at `from` (which holds the quote). Backslash escapes
// and doubled quotes are honoured; back-quotes only know doubling.
qsizetype skipQuoted(const QString& s, qsizetype from)
{
    const QChar quote = s[from];
    qsizetype i = from + 1;
    while (i < s.size()) {
        const QChar c = s[i];
        if (c == u'\\' && quote != u'`') {
            i += 2;
            continue;
        }
        if (c == quote) {
            if (i + 1 < s.size() && s[i + 1] == quote) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return s.size();
}

bool startsLineComment(const QString& s, qsizetype i)
{
    if (s[i] == u'#')
        return true;
    return s[i] == u'-' && i + 1 < s.size() && s[i + 1] == u'-' && (i + 2 >= s.size() || s[i + 2].isSpace());
}

qsizetype skipLineComment(const QString& s, qsizetype i)
{
    const qsizetype end = s.indexOf(u'\n', i);
    return end < 0 ? s.size() : end;
}

qsizetype skipBlockComment(const QString& s, qsizetype i)
{
    const qsizetype end = s.indexOf(QStringLiteral("*/"), i + 2);
    return end < 0 ? s.size() : end + 2;
}

bool isExecutableComment(const QString& s, qsizetype i)
{
    return s.mid(i, 3) == u"/*!" || s.mid(i, 4) == u"/*M!";
}

} // namespace

ParsedStatement parsePlaceholders(const QString& sql)
{
    ParsedStatement out;
    out.sql.reserve(sql.size());
    qsizetype i = 0;
    while (i < sql.size()) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"' || c == u'`') {
            const qsizetype end = skipQuoted(sql, i);
            out.sql += QStringView(sql).mid(i, end - i);
            i = end;
        } else if (startsLineComment(sql, i)) {
            const qsizetype end = skipLineComment(sql, i);
            out.sql += QStringView(sql).mid(i, end - i);
            i = end;
        } else if (c == u'/' && i + 1 < sql.size() && sql[i + 1] == u'*') {
            const qsizetype end = skipBlockComment(sql, i);
            out.sql += QStringView(sql).mid(i, end - i);
            i = end;
        } else if (c == u':' && i + 1 < sql.size() && sql[i + 1] == u':') {
            out.sql += QStringLiteral("::");
            i += 2;
        } else if (c == u':' && i + 1 < sql.size() && isIdentifierStart(sql[i + 1]) &&
                   (i == 0 || !isIdentifierChar(sql[i - 1]))) {
            qsizetype end = i + 1;
            while (end < sql.size() && isIdentifierChar(sql[end]))
                ++end;
            out.names << sql.mid(i + 1, end - i - 1).toUpper();
            out.sql += u'?';
            i = end;
        } else {
            out.sql += c;
            ++i;
        }
    }
    return out;
}

QStringList splitScript(const QString& script)
{
    QStringList statements;
    QString delimiter = QStringLiteral(";");
    QString current;
    bool hasCode = false; // the current piece holds something besides blanks and comments

    auto finish = [&] {
        const QString text = current.trimmed();
        if (hasCode && !text.isEmpty())
            statements << text;
        current.clear();
        hasCode = false;
    };

    qsizetype i = 0;
    bool atLineStart = true;
    while (i < script.size()) {
        if (atLineStart) {
            // DELIMITER is a client command: it must stand at the start of a line.
            qsizetype j = i;
            while (j < script.size() && (script[j] == u' ' || script[j] == u'\t'))
                ++j;
            if (script.mid(j, 10).compare(u"DELIMITER ", Qt::CaseInsensitive) == 0 ||
                script.mid(j, 10).compare(u"DELIMITER\t", Qt::CaseInsensitive) == 0) {
                finish();
                qsizetype end = script.indexOf(u'\n', j);
                if (end < 0)
                    end = script.size();
                delimiter = script.mid(j + 10, end - j - 10).trimmed();
                if (delimiter.isEmpty())
                    delimiter = QStringLiteral(";");
                i = end;
                continue;
            }
        }
        const QChar c = script[i];
        atLineStart = false;
        if (c == u'\n') {
            current += c;
            atLineStart = true;
            ++i;
        } else if (c == u'\'' || c == u'"' || c == u'`') {
            const qsizetype end = skipQuoted(script, i);
            current += QStringView(script).mid(i, end - i);
            hasCode = true;
            i = end;
        } else if (startsLineComment(script, i)) {
            i = skipLineComment(script, i);
        } else if (c == u'/' && i + 1 < script.size() && script[i + 1] == u'*') {
            const qsizetype end = skipBlockComment(script, i);
            if (isExecutableComment(script, i)) {
                current += QStringView(script).mid(i, end - i);
                hasCode = true;
            } else {
                current += u' ';
            }
            i = end;
        } else if (QStringView(script).mid(i).startsWith(delimiter)) {
            finish();
            i += delimiter.size();
        } else {
            current += c;
            if (!c.isSpace())
                hasCode = true;
            ++i;
        }
    }
    finish();
    return statements;
}

bool isReadOnlyStatement(const QString& sql)
{
    static const QRegularExpression firstWord(QStringLiteral("^[\\s(]*([A-Za-z]+)"));
    const auto match = firstWord.match(sql);
    if (!match.hasMatch())
        return false;
    const QString word = match.captured(1).toUpper();
    return word == u"SELECT" || word == u"SHOW" || word == u"DESCRIBE" || word == u"DESC" ||
           word == u"EXPLAIN";
}

bool isPlainIdentifier(const QString& name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_]{1,64}$"));
    return plain.match(name).hasMatch();
}

} // namespace carvendo::core
