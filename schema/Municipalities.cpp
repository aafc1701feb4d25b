#include "schema/Municipalities.h"

#include "schema/SchemaError.h"
#include "schema/ScriptLiterals.h"

#include <QFile>
#include <QStringList>

namespace carvendo::schema {

namespace {

const QString expectedHeader =
    QStringLiteral("comune;cap;sigla_provincia;provincia;regione;codice_catastale;codice_istat");
constexpr int fieldCount = 7;

QString valuesOf(const Municipality& m)
{
    const QStringList values{stringLiteral(m.name),         stringLiteral(m.postcodes),
                             stringLiteral(m.provinceCode), stringLiteral(m.province),
                             stringLiteral(m.region),       stringLiteral(m.cadastralCode),
                             stringLiteral(m.istatCode)};
    return QLatin1Char('(') + values.join(QLatin1Char(',')) + QLatin1Char(')');
}

} // namespace

QList<Municipality> Municipalities::parseCsv(const QString& text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    if (lines.isEmpty() || lines.first().remove(QChar(0xFEFF)) != expectedHeader)
        throw SchemaError(QStringLiteral("Riga 1: intestazione attesa \"%1\"").arg(expectedHeader), 1);

    QList<Municipality> municipalities;
    for (int i = 1; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty())
            continue;
        const QStringList fields = lines[i].split(QLatin1Char(';'));
        if (fields.size() != fieldCount || fields[0].trimmed().isEmpty()) {
            throw SchemaError(
                QStringLiteral("Riga %1: attesi %2 campi separati da ';' con il nome del comune")
                    .arg(i + 1)
                    .arg(fieldCount),
                i + 1);
        }
        municipalities << Municipality{fields[0].trimmed(), fields[1].trimmed(), fields[2].trimmed(),
                                       fields[3].trimmed(), fields[4].trimmed(), fields[5].trimmed(),
                                       fields[6].trimmed()};
    }
    return municipalities;
}

QList<Municipality> Municipalities::readCsv(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw SchemaError(QStringLiteral("Impossibile leggere %1: %2").arg(path, file.errorString()));
    try {
        return parseCsv(QString::fromUtf8(file.readAll()));
    } catch (const SchemaError& error) {
        throw SchemaError(QStringLiteral("%1: %2").arg(path, error.message()), error.line());
    }
}

QString Municipalities::insertStatements(const QList<Municipality>& municipalities, int rowsPerStatement)
{
    static const QString insert = QStringLiteral(
        "INSERT INTO `comuni` (`comune`, `Cap`, `SiglaProv`, `Provincia`, `Regione`, `CodiceCatastale`, "
        "`CodiceIstat`) VALUES\n");
    QString script;
    const int step = qMax(1, rowsPerStatement);
    for (qsizetype first = 0; first < municipalities.size(); first += step) {
        QStringList rows;
        const qsizetype last = qMin(municipalities.size(), first + step);
        for (qsizetype i = first; i < last; ++i)
            rows << valuesOf(municipalities[i]);
        script += insert + rows.join(QStringLiteral(",\n")) + QStringLiteral(";\n");
    }
    return script;
}

} // namespace carvendo::schema
