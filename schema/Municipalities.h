#pragma once

#include <QList>
#include <QString>

namespace carvendo::schema {

struct Municipality
{
    QString name;          // comune
    QString postcodes;     // Cap: several, blank-separated, for the large cities
    QString provinceCode;  // SiglaProv
    QString province;      // Provincia
    QString region;        // Regione
    QString cadastralCode; // CodiceCatastale: the code a codice fiscale carries
    QString istatCode;     // CodiceIstat
};

// The Italian municipalities that fill the `comuni` table of a new company database, read from the
// ';'-separated UTF-8 list shipped with the sources (header line
// "comune;cap;sigla_provincia;provincia;regione;codice_catastale;codice_istat").
class Municipalities
{
public:
    // Throws SchemaError naming the line of a malformed row.
    static QList<Municipality> parseCsv(const QString& text);
    static QList<Municipality> readCsv(const QString& path);

    // Multi-row INSERTs into `comuni`, rowsPerStatement rows each: one statement per row would make the
    // template slow to run, one for all would be a statement of half a megabyte.
    static QString insertStatements(const QList<Municipality>& municipalities, int rowsPerStatement = 400);
};

} // namespace carvendo::schema
