#include "core/Paths.h"

#include "core/Error.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <stdexcept>

namespace carvendo::core {

namespace {

QString clean(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QString defaultDataDir(const QProcessEnvironment& environment)
{
#ifdef Q_OS_WIN
    Q_UNUSED(environment);
    return QStringLiteral("C:/data"); // where the shops' workstations already keep these files
#else
    QString home = environment.value(QStringLiteral("HOME"));
    if (home.isEmpty())
        home = QDir::homePath();
    return home + QStringLiteral("/.local/share/carvendo");
#endif
}

bool looksLikeInstall(const QString& dir)
{
    return QFileInfo::exists(dir + QStringLiteral("/data/db.sql")) ||
           QFileInfo(dir + QStringLiteral("/Report")).isDir();
}

QString findInstallDir(const QString& programDir)
{
    const QString program = clean(programDir);
    const QString candidates[] = {
        program,                                        // beside the program, as on Windows
        program + QStringLiteral("/../share/carvendo"), // installed under a prefix
        program + QStringLiteral("/.."),                // the build tree: build/app, build/tests
        program + QStringLiteral("/../.."),             // build/tests/core
    };
    for (const QString& candidate : candidates)
        if (looksLikeInstall(clean(candidate)))
            return clean(candidate);
    return program;
}

} // namespace

Paths::Paths(QString dataDir, QString installDir) : m_dataDir(clean(dataDir)), m_installDir(clean(installDir))
{
}

Paths Paths::fromEnvironment(const QString& programDir)
{
    return fromEnvironment(QProcessEnvironment::systemEnvironment(), programDir);
}

Paths Paths::fromEnvironment(const QProcessEnvironment& environment, const QString& programDir)
{
    QString dataDir = environment.value(QStringLiteral("CARVENDO_DATA"));
    if (dataDir.trimmed().isEmpty())
        dataDir = defaultDataDir(environment);
    return Paths(dataDir, findInstallDir(programDir));
}

QString Paths::data(const QString& relative) const
{
    return m_dataDir + u'/' + relative;
}

QString Paths::connessioneIni() const
{
    return data(QStringLiteral("connessione.ini"));
}
QString Paths::impostazioniIni() const
{
    return data(QStringLiteral("impostazioni.ini"));
}
QString Paths::versioneIni() const
{
    return data(QStringLiteral("Versione.ini"));
}

QString Paths::dbTemplate() const
{
    const QString own = data(QStringLiteral("db.sql"));
    return QFileInfo::exists(own) ? own : installDataDir() + QStringLiteral("/db.sql");
}

QString Paths::companyScript(const QString& databaseName) const
{
    static const QRegularExpression allowed(QStringLiteral("^[A-Za-z0-9_$]+$"));
    if (!allowed.match(databaseName).hasMatch())
        throw std::invalid_argument("Nome del database non valido");
    return data(databaseName + QStringLiteral(".sql"));
}

QString Paths::installDataDir() const
{
    return m_installDir + QStringLiteral("/data");
}
QString Paths::reportDir() const
{
    return m_installDir + QStringLiteral("/Report");
}
QString Paths::imagesDir() const
{
    return installDataDir() + QStringLiteral("/Images");
}

QString Paths::reportTemplate(const QString& fileName) const
{
    if (fileName.isEmpty() || fileName.contains(u'/') || fileName.contains(u'\\') ||
        fileName.startsWith(u'.'))
        throw std::invalid_argument("Nome del modello di stampa non valido");
    return reportDir() + u'/' + fileName;
}

QString Paths::receiptsDir() const
{
    return data(QStringLiteral("scontrini"));
}

QString Paths::documentsDir(DocumentFolder folder) const
{
    switch (folder) {
    case DocumentFolder::Fatture:
        return data(QStringLiteral("documenti/Fatture"));
    case DocumentFolder::DDT:
        return data(QStringLiteral("documenti/DDT"));
    case DocumentFolder::Preventivi:
        return data(QStringLiteral("documenti/Preventivi"));
    case DocumentFolder::Acquisti:
        return data(QStringLiteral("documenti/Acquisti"));
    case DocumentFolder::Inventari:
        return data(QStringLiteral("documenti/inventari"));
    case DocumentFolder::FattureElettroniche:
        return data(QStringLiteral("documenti/FattureElettroniche"));
    }
    Q_UNREACHABLE();
}

QString Paths::acquisitionsDir(AcquisitionFolder folder) const
{
    switch (folder) {
    case AcquisitionFolder::Pos:
        return data(QStringLiteral("acquisizioni/Pos"));
    case AcquisitionFolder::Carichi:
        return data(QStringLiteral("acquisizioni/Carichi"));
    }
    Q_UNREACHABLE();
}

QString Paths::fiscalDriverDir(const QString& cartellaLavoro) const
{
    const QString configured = cartellaLavoro.trimmed();
    return configured.isEmpty() ? data(QStringLiteral("driver")) : QDir::cleanPath(configured);
}

QString Paths::backupDir() const
{
    return data(QStringLiteral("backup"));
}
QString Paths::serverDir() const
{
    return data(QStringLiteral("mysql"));
}

QString Paths::layoutFile(const QString& windowWord) const
{
    static const QRegularExpression allowed(QStringLiteral("^[A-Za-z0-9]+$"));
    if (!allowed.match(windowWord).hasMatch())
        throw std::invalid_argument("Nome del layout non valido");
    return data(QStringLiteral("layout") + windowWord);
}

QString Paths::ensureDir(const QString& path)
{
    if (!QDir().mkpath(path))
        throw Error(QStringLiteral("Impossibile creare la cartella %1").arg(QDir::toNativeSeparators(path)));
    return path;
}

} // namespace carvendo::core
