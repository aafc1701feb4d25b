// Writes the company database template data/db.sql from the schema sources.
// Usage: carvendo-schema-gen <comuni.csv> <db.sql>

#include "schema/CompanyTemplate.h"
#include "schema/Municipalities.h"
#include "schema/SchemaError.h"

#include <QCoreApplication>
#include <QSaveFile>
#include <QStringList>

#include <cstdio>

using namespace carvendo::schema;

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "Uso: carvendo-schema-gen <comuni.csv> <db.sql>\n");
        return 2;
    }
    try {
        const QString script = CompanyTemplate().script(Municipalities::readCsv(args[1]));
        // Written whole or not at all: a half-written template would make broken companies.
        QSaveFile out(args[2]);
        if (!out.open(QIODevice::WriteOnly) || out.write(script.toUtf8()) < 0 || !out.commit()) {
            std::fprintf(stderr, "Impossibile scrivere %s: %s\n", qPrintable(args[2]),
                         qPrintable(out.errorString()));
            return 1;
        }
    } catch (const SchemaError& error) {
        std::fprintf(stderr, "carvendo-schema-gen: %s\n", qPrintable(error.message()));
        return 1;
    }
    return 0;
}
