#pragma once

#include "schema/TableDefinition.h"

#include <QList>
#include <QString>

namespace carvendo::schema {

// Reads the table definitions file:
//
//   # comment (also after a line's content)
//   table `fatture`                  a table of every company database
//   table `aziende` @directory       ... of the company directory database
//   table `ps_orders` @store         ... of the online store's database
//     `NumDoc` integer               a column: back-quoted name, type, optional `key`
//     `idFattura` integer key
//     `Nazione` string(2) default 'IT'   a default of its own (quoted text or a number)
//     index (`Anno`, `NumDoc`)
//     unique (`idarticolo`, `idmagazzino`)
//
// Any fault stops the reading with a SchemaError naming the line.
class TableDefinitionsParser
{
public:
    static QList<TableDefinition> parse(const QString& text);
};

} // namespace carvendo::schema
