#pragma once

#include <QString>
#include <QVariantMap>

namespace carvendo::report {

// Fills a Mustache template with a bound tree (DataBinder) and gives the HTML. {{name}} is escaped
// for HTML and its line breaks become <br/>; {{{name}}} goes in as it is. Empty text counts as not
// set: {{#name}} sections skip it and {{^name}} sections show. A malformed template
// throws core::ReportError naming the template.
class TemplateFiller
{
public:
    // The tree is let go of while it is filled in (hand it over with std::move or as a temporary).
    static QString fill(const QString& templateText, QVariantMap tree, const QString& templatePath);
    static QString escape(const QString& text);
};

} // namespace carvendo::report
