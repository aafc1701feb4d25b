#pragma once

#include <QString>

namespace carvendo::report {

// Finds and reads a template of the Report folder. A name is a base name ("Inventario") or a file
// name ending in ".html"; anything that could leave the folder is refused. Failures throw
// core::ReportError with the text for an error box.
class TemplateLoader
{
public:
    explicit TemplateLoader(QString reportDir);

    // The template's file path (it need not exist).
    QString pathOf(const QString& templateName) const;
    // The template's text (UTF-8).
    QString load(const QString& templateName) const;
    const QString& reportDir() const { return m_reportDir; }

private:
    QString m_reportDir;
};

} // namespace carvendo::report
