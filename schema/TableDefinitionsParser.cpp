#include "schema/TableDefinitionsParser.h"

#include "schema/SchemaError.h"

#include <QRegularExpression>
#include <QSet>

namespace carvendo::schema {

namespace {

[[noreturn]] void failAt(int lineNumber, const QString& what)
{
    throw SchemaError(QStringLiteral("Riga %1: %2").arg(lineNumber).arg(what), lineNumber);
}

// Walks one line of the file; every fault becomes a SchemaError carrying the line number.
class LineReader
{
public:
    LineReader(QStringView text, int lineNumber) : m_text(text), m_lineNumber(lineNumber) {}

    int lineNumber() const { return m_lineNumber; }
    [[noreturn]] void fail(const QString& what) const { failAt(m_lineNumber, what); }

    void skipSpaces()
    {
        while (m_position < m_text.size() && m_text[m_position].isSpace())
            ++m_position;
    }

    bool atEnd()
    {
        skipSpaces();
        return m_position >= m_text.size();
    }

    bool peek(QChar c)
    {
        skipSpaces();
        return m_position < m_text.size() && m_text[m_position] == c;
    }

    bool take(QChar c)
    {
        if (!peek(c))
            return false;
        ++m_position;
        return true;
    }

    // A word of letters: a keyword (table, index, unique) or a placement (directory, store).
    QString word()
    {
        skipSpaces();
        const qsizetype start = m_position;
        while (m_position < m_text.size() && m_text[m_position].isLetter())
            ++m_position;
        return m_text.mid(start, m_position - start).toString();
    }

    QString quotedName()
    {
        if (!take(QLatin1Char('`')))
            fail(QStringLiteral("atteso un nome tra apici inversi"));
        const qsizetype end = m_text.indexOf(QLatin1Char('`'), m_position);
        if (end < 0)
            fail(QStringLiteral("manca l'apice inverso di chiusura del nome"));
        const QString name = m_text.mid(m_position, end - m_position).toString();
        m_position = end + 1;
        if (name.trimmed().isEmpty())
            fail(QStringLiteral("nome vuoto"));
        return name;
    }

    QString wholeLine() const { return m_text.toString().trimmed(); }

    QString rest()
    {
        skipSpaces();
        return m_text.mid(m_position).toString().trimmed();
    }

private:
    QStringView m_text;
    int m_lineNumber;
    qsizetype m_position = 0;
};

// The content of a line without its comment: '#' starts one unless it stands inside a back-quoted name.
QStringView withoutComment(QStringView line)
{
    bool inName = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == QLatin1Char('`'))
            inName = !inName;
        else if (line[i] == QLatin1Char('#') && !inName)
            return line.left(i);
    }
    return line;
}

class Parser
{
public:
    QList<TableDefinition> run(const QString& text)
    {
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (int i = 0; i < lines.size(); ++i) {
            QStringView content = withoutComment(lines[i]);
            if (content.trimmed().isEmpty())
                continue;
            readLine(LineReader(content, i + 1));
        }
        finishTable();
        return m_tables;
    }

private:
    void readLine(LineReader line)
    {
        if (line.peek(QLatin1Char('`'))) {
            readColumn(line);
            return;
        }
        const QString keyword = line.word();
        if (keyword == QLatin1String("table"))
            readTable(line);
        else if (keyword == QLatin1String("index") || keyword == QLatin1String("unique"))
            readIndex(line, keyword == QLatin1String("unique"));
        else
            line.fail(QStringLiteral("riga non riconosciuta \"%1\"").arg(line.wholeLine()));
    }

    void readTable(LineReader& line)
    {
        finishTable();
        TableDefinition table;
        table.name = line.quotedName();
        if (line.take(QLatin1Char('@'))) {
            const QString placement = line.word();
            if (placement == QLatin1String("directory"))
                table.placement = Placement::Directory;
            else if (placement == QLatin1String("store"))
                table.placement = Placement::Store;
            else
                line.fail(QStringLiteral("collocazione sconosciuta \"@%1\" (ammesse @directory e @store)")
                              .arg(placement + line.rest()));
        }
        if (!line.atEnd())
            line.fail(QStringLiteral("testo inatteso dopo la tabella: \"%1\"").arg(line.rest()));
        if (m_tableNames.contains(table.name.toLower()))
            line.fail(QStringLiteral("tabella `%1` già definita").arg(table.name));
        m_tableNames.insert(table.name.toLower());
        m_current = table;
        m_currentLineNumber = line.lineNumber();
    }

    void readColumn(LineReader& line)
    {
        ColumnDefinition column;
        column.name = line.quotedName();
        if (!m_current)
            line.fail(QStringLiteral("colonna `%1` fuori da una tabella").arg(column.name));

        QString typeText = line.rest();
        // "default 'RF01'" or "default 2.00" after the type: plain letters, digits and dots only, so
        // the literal is the same text in CREATE TABLE and in the upgrade.
        static const QRegularExpression defaultMark(
            QStringLiteral(R"(\s+default\s+('[A-Za-z0-9. ]*'|-?[0-9]+(\.[0-9]+)?)$)"));
        if (const auto match = defaultMark.match(typeText); match.hasMatch()) {
            column.defaultLiteral = match.captured(1);
            typeText.truncate(match.capturedStart());
        }
        static const QString keyMark = QStringLiteral(" key");
        if (typeText.endsWith(keyMark)) {
            column.isKey = true;
            typeText.chop(keyMark.size());
        }
        const std::optional<ColumnType> type = ColumnType::parse(typeText);
        if (!type)
            line.fail(QStringLiteral("tipo di colonna sconosciuto \"%1\"").arg(typeText.trimmed()));
        column.type = *type;

        if (m_current->column(column.name))
            line.fail(QStringLiteral("colonna `%1` già presente nella tabella `%2`")
                          .arg(column.name, m_current->name));
        if (column.isKey) {
            if (const ColumnDefinition* key = m_current->key())
                line.fail(
                    QStringLiteral("la tabella `%1` ha già la chiave `%2`").arg(m_current->name, key->name));
            if (!column.type.isInteger())
                line.fail(QStringLiteral("la chiave `%1` non è un numero intero").arg(column.name));
        }
        m_current->columns << column;
    }

    void readIndex(LineReader& line, bool unique)
    {
        if (!m_current)
            line.fail(QStringLiteral("indice fuori da una tabella"));
        IndexDefinition index;
        index.unique = unique;
        if (!line.take(QLatin1Char('(')))
            line.fail(QStringLiteral("indice malformato: atteso (`colonna`, ...)"));
        do {
            const QString name = line.quotedName();
            const ColumnDefinition* column = m_current->column(name);
            if (!column)
                line.fail(
                    QStringLiteral("la tabella `%1` non ha la colonna `%2`").arg(m_current->name, name));
            index.columns << column->name;
        } while (line.take(QLatin1Char(',')));
        if (!line.take(QLatin1Char(')')) || !line.atEnd())
            line.fail(QStringLiteral("indice malformato: atteso (`colonna`, ...)"));
        for (const IndexDefinition& other : std::as_const(m_current->indexes)) {
            if (other.name() == index.name())
                line.fail(QStringLiteral("indice ripetuto sulle stesse colonne"));
        }
        m_current->indexes << index;
    }

    void finishTable()
    {
        if (!m_current)
            return;
        if (m_current->columns.isEmpty())
            failAt(m_currentLineNumber,
                   QStringLiteral("la tabella `%1` non ha colonne").arg(m_current->name));
        m_tables << *m_current;
        m_current.reset();
    }

    QList<TableDefinition> m_tables;
    QSet<QString> m_tableNames; // lower case: table names ignore letter case on the server
    std::optional<TableDefinition> m_current;
    int m_currentLineNumber = 0; // the table's own line, for faults found when it ends
};

} // namespace

QList<TableDefinition> TableDefinitionsParser::parse(const QString& text)
{
    return Parser().run(text);
}

} // namespace carvendo::schema
