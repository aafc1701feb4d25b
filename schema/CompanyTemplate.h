#pragma once

#include "schema/Municipalities.h"
#include "schema/TableDefinitions.h"

#include <QList>
#include <QString>

namespace carvendo::schema {

// The scripts that make new databases: the company template data/db.sql, the directory database and the
// online store's tables (for tests of the store link).
//
// The company script never names a database: the caller creates one (CHARACTER SET latin1 COLLATE
// latin1_swedish_ci) and runs the script inside it, with the `mariadb` client or Db::runScript. It holds
// plain statements closed by ';', '--' comments, and the stored procedures in DELIMITER blocks.
class CompanyTemplate
{
public:
    explicit CompanyTemplate(const TableDefinitions& tables = TableDefinitions::builtIn());

    // Header, every company table, the seed rows, the municipalities, the stored procedures: in this
    // order, because the procedures come last in DELIMITER form.
    QString script(const QList<Municipality>& municipalities) const;
    QString tablesScript() const;

    static QString seedScript();       // the rows a first login needs
    static QString proceduresScript(); // DELIMITER $$ form; empty while the file is not there
    static QString directoryScript();  // CREATE TABLE `aziende` of the company directory
    static QString storeScript();      // the store's tables the link reads

private:
    TableDefinitions m_tables;
};

} // namespace carvendo::schema
