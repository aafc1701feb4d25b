#include "schema/CompanyTemplate.h"

#include "schema/SchemaError.h"

#include <QFile>

namespace carvendo::schema {

namespace {

QString readResource(const QString& path, bool required)
{
    QFile file(path);
    if (!file.exists() && !required)
        return {};
    if (!file.open(QIODevice::ReadOnly))
        throw SchemaError(QStringLiteral("Impossibile leggere %1").arg(path));
    return QString::fromUtf8(file.readAll());
}

QString sectionComment(const QString& title)
{
    return QStringLiteral("\n-- %1\n-- %2\n\n").arg(QString(76, QLatin1Char('-')), title);
}

QString withFinalNewline(QString text)
{
    if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n')))
        text += QLatin1Char('\n');
    return text;
}

const QString header = QStringLiteral(
    "-- Carvendo Pro: template of a company database.\n"
    "-- Made by the build from schema/ (tables.def, seed.sql, comuni.csv, procedures.sql): do not edit.\n"
    "-- Run it inside a new, empty database created with CHARACTER SET latin1 COLLATE latin1_swedish_ci.\n"
    "\n"
    "SET NAMES utf8mb4;\n");

} // namespace

CompanyTemplate::CompanyTemplate(const TableDefinitions& tables) : m_tables(tables) {}

QString CompanyTemplate::script(const QList<Municipality>& municipalities) const
{
    QString script = header;
    script += sectionComment(QStringLiteral("Tables"));
    script += tablesScript();
    script += sectionComment(QStringLiteral("Rows a first login needs"));
    script += withFinalNewline(seedScript());
    script += sectionComment(QStringLiteral("Italian municipalities"));
    script += Municipalities::insertStatements(municipalities);
    script += sectionComment(QStringLiteral("Stored procedures"));
    script += withFinalNewline(proceduresScript());
    return script;
}

QString CompanyTemplate::tablesScript() const
{
    return m_tables.createTablesScript(Placement::Company);
}

QString CompanyTemplate::seedScript()
{
    return readResource(QStringLiteral(":/schema/seed.sql"), true);
}

QString CompanyTemplate::proceduresScript()
{
    return readResource(QStringLiteral(":/schema/procedures.sql"), false);
}

QString CompanyTemplate::directoryScript()
{
    return TableDefinitions::builtIn().createTablesScript(Placement::Directory);
}

QString CompanyTemplate::storeScript()
{
    return TableDefinitions::builtIn().createTablesScript(Placement::Store);
}

} // namespace carvendo::schema
