#include "report/TemplateLoader.h"

#include "core/ReportOutput.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace carvendo::report {

TemplateLoader::TemplateLoader(QString reportDir) : m_reportDir(std::move(reportDir)) {}

QString TemplateLoader::pathOf(const QString& templateName) const
{
    // Letters, digits, spaces, '_' and '-', then at most the ".html" ending: no folder, no "..".
    static const QRegularExpression allowed(QStringLiteral("^[A-Za-z0-9_][A-Za-z0-9_ -]*(\\.html)?$"));
    const QString name = templateName.trimmed();
    if (!allowed.match(name).hasMatch())
        throw core::ReportError(
            QStringLiteral("Nome del modello di stampa non valido: %1").arg(templateName));
    const QString fileName = name.endsWith(QStringLiteral(".html")) ? name : name + QStringLiteral(".html");
    return m_reportDir + u'/' + fileName;
}

QString TemplateLoader::load(const QString& templateName) const
{
    const QString path = pathOf(templateName);
    QFile file(path);
    if (!QFileInfo(path).isFile())
        throw core::ReportError(QStringLiteral("Modello di stampa non trovato: %1").arg(path));
    if (!file.open(QIODevice::ReadOnly))
        throw core::ReportError(
            QStringLiteral("Impossibile leggere il modello di stampa %1: %2").arg(path, file.errorString()));
    return QString::fromUtf8(file.readAll());
}

} // namespace carvendo::report
