#include "schema/TableDefinitions.h"

#include "schema/SchemaError.h"
#include "schema/ScriptLiterals.h"
#include "schema/TableDefinitionsParser.h"

#include <QFile>
#include <QStringList>

namespace carvendo::schema {

namespace {

// The company and directory databases are latin1 (the shop's data has always been kept so); the store's
// database is the web shop's own, which speaks UTF-8.
QString characterSet(Placement placement)
{
    return placement == Placement::Store ? QStringLiteral("utf8mb4") : QStringLiteral("latin1");
}

QString columnList(const QStringList& columns)
{
    QStringList quoted;
    for (const QString& column : columns)
        quoted << quoteIdentifier(column);
    return quoted.join(QStringLiteral(", "));
}

TableDefinitions readBuiltIn()
{
    QFile file(QStringLiteral(":/schema/tables.def"));
    if (!file.open(QIODevice::ReadOnly))
        throw SchemaError(QStringLiteral("Definizione delle tabelle mancante: %1").arg(file.fileName()));
    try {
        return TableDefinitions::parse(QString::fromUtf8(file.readAll()));
    } catch (const SchemaError& error) {
        throw SchemaError(QStringLiteral("tables.def: %1").arg(error.message()), error.line());
    }
}

} // namespace

TableDefinitions TableDefinitions::parse(const QString& text)
{
    return TableDefinitions(TableDefinitionsParser::parse(text));
}

const TableDefinitions& TableDefinitions::builtIn()
{
    static const TableDefinitions definitions = readBuiltIn();
    return definitions;
}

QList<const TableDefinition*> TableDefinitions::tables(Placement placement) const
{
    QList<const TableDefinition*> found;
    for (const TableDefinition& table : m_tables) {
        if (table.placement == placement)
            found << &table;
    }
    return found;
}

const TableDefinition* TableDefinitions::table(QStringView name) const
{
    for (const TableDefinition& table : m_tables) {
        if (table.name.compare(name, Qt::CaseInsensitive) == 0)
            return &table;
    }
    return nullptr;
}

const TableDefinition& TableDefinitions::definedTable(const QString& table) const
{
    const TableDefinition* definition = this->table(table);
    if (!definition)
        throw SchemaError(QStringLiteral("Tabella sconosciuta: `%1`").arg(table));
    return *definition;
}

QString TableDefinitions::createTableStatement(const QString& table, bool ifNotExists) const
{
    return createTableStatement(definedTable(table), ifNotExists);
}

QString TableDefinitions::createTableScript(const QString& table, bool ifNotExists) const
{
    return createTableScript(definedTable(table), ifNotExists);
}

QString TableDefinitions::createTablesScript(Placement placement) const
{
    QString script;
    for (const TableDefinition* table : tables(placement))
        script += createTableScript(*table, false) + QLatin1Char('\n');
    return script;
}

QString TableDefinitions::createTableScript(const TableDefinition& table, bool ifNotExists) const
{
    const QString statement = createTableStatement(table, ifNotExists) + QStringLiteral(";\n");
    if (table.fitsStrictInnoDbRowSize())
        return statement;
    // The server would refuse the table under innodb_strict_mode; without it, it warns and accepts it,
    // and only a row filled to the brim in every column would be refused. The session's setting is put back.
    return QStringLiteral("-- %1: its full row is larger than a strict InnoDB accepts.\n")
               .arg(quoteIdentifier(table.name)) +
           QStringLiteral("SET @carvendo_innodb_strict_mode = @@SESSION.innodb_strict_mode;\n"
                          "SET SESSION innodb_strict_mode = 0;\n") +
           statement + QStringLiteral("SET SESSION innodb_strict_mode = @carvendo_innodb_strict_mode;\n");
}

QString TableDefinitions::createTableStatement(const TableDefinition& table, bool ifNotExists) const
{
    QStringList parts;
    for (const ColumnDefinition& column : table.columns)
        parts << quoteIdentifier(column.name) + QLatin1Char(' ') + column.sqlDefinition();
    if (const ColumnDefinition* key = table.key())
        parts << QStringLiteral("PRIMARY KEY (%1)").arg(quoteIdentifier(key->name));
    for (const IndexDefinition& index : table.indexes) {
        parts << QStringLiteral("%1 %2 (%3)")
                     .arg(index.unique ? QStringLiteral("UNIQUE KEY") : QStringLiteral("KEY"),
                          quoteIdentifier(index.name()), columnList(index.columns));
    }
    return QStringLiteral("CREATE TABLE %1%2 (\n  %3\n) ENGINE=InnoDB DEFAULT CHARSET=%4")
        .arg(ifNotExists ? QStringLiteral("IF NOT EXISTS ") : QString(), quoteIdentifier(table.name),
             parts.join(QStringLiteral(",\n  ")), characterSet(table.placement));
}

} // namespace carvendo::schema
