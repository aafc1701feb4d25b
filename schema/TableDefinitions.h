#pragma once

#include "schema/TableDefinition.h"

#include <QList>
#include <QString>
#include <QStringView>

namespace carvendo::schema {

// The tables of the company database (and of the directory and store databases), as tables.def defines
// them: the one place that says which tables and columns exist, in which order and of which type.
class TableDefinitions
{
public:
    TableDefinitions() = default;
    explicit TableDefinitions(QList<TableDefinition> tables) : m_tables(std::move(tables)) {}

    static TableDefinitions parse(const QString& text); // throws SchemaError naming the line
    // The definitions shipped with the program (resource :/schema/tables.def), read once.
    static const TableDefinitions& builtIn();

    const QList<TableDefinition>& tables() const { return m_tables; }
    QList<const TableDefinition*> tables(Placement placement) const;
    QList<const TableDefinition*> companyTables() const { return tables(Placement::Company); }
    // Table names ignore letter case, as on the server; nullptr when there is none.
    const TableDefinition* table(QStringView name) const;

    // The CREATE TABLE statement of a defined table, without the closing ';'. Throws SchemaError for a
    // table the definitions do not know.
    QString createTableStatement(const QString& table, bool ifNotExists) const;
    // The same as a script (statements closed by ';'): for a table whose full row exceeds what a strict
    // InnoDB accepts, the statement is wrapped in a relaxed row-size check. Use this to create tables.
    QString createTableScript(const QString& table, bool ifNotExists) const;
    // Every table of one database, as createTableScript() makes them.
    QString createTablesScript(Placement placement) const;

private:
    const TableDefinition& definedTable(const QString& table) const; // throws SchemaError when unknown
    QString createTableStatement(const TableDefinition& table, bool ifNotExists) const;
    QString createTableScript(const TableDefinition& table, bool ifNotExists) const;

    QList<TableDefinition> m_tables;
};

} // namespace carvendo::schema
