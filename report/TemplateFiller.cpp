#include "TemplateFiller.h"

#include "ReportOutput.h"

#include <kainjow/mustache.hpp>

namespace carvendo::report {

namespace mustache = kainjow::mustache;

namespace {

mustache::data toData(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return mustache::data(value.toBool());
    case QMetaType::QVariantMap: {
        mustache::data object(mustache::data::type::object);
        const QVariantMap map = value.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            object.set(it.key().toStdString(), toData(it.value()));
        return object;
    }
    case QMetaType::QVariantList: {
        mustache::data list(mustache::data::type::list);
        for (const QVariant& item : value.toList())
            list.push_back(toData(item));
        return list;
    }
    default: {
        // Empty text is "not set": it prints nothing, skips {{#name}} and shows {{^name}}.
        const QString text = value.toString();
        return text.isEmpty() ? mustache::data(false) : mustache::data(text.toStdString());
    }
    }
}

} // namespace

QString TemplateFiller::escape(const QString& text)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (const QChar ch : text) {
        switch (ch.unicode()) {
        case u'&': out += QStringLiteral("&amp;"); break;
        case u'<': out += QStringLiteral("&lt;"); break;
        case u'>': out += QStringLiteral("&gt;"); break;
        case u'"': out += QStringLiteral("&quot;"); break;
        case u'\'': out += QStringLiteral("&#39;"); break; // the layout engine does not know &apos;
        case u'\r': break;
        case u'\n': out += QStringLiteral("<br/>"); break;
        default: out += ch;
        }
    }
    return out;
}

QString TemplateFiller::fill(const QString& templateText, const QVariantMap& tree, const QString& templatePath)
{
    mustache::mustache engine(templateText.toStdString());
    if (!engine.is_valid())
        throw core::ReportError(QStringLiteral("Modello di stampa non valido (%1): %2")
                                    .arg(templatePath, QString::fromStdString(engine.error_message())));
    engine.set_custom_escape([](const std::string& text) {
        return escape(QString::fromStdString(text)).toStdString();
    });
    const std::string html = engine.render(toData(tree));
    if (!engine.error_message().empty())
        throw core::ReportError(QStringLiteral("Modello di stampa non valido (%1): %2")
                                    .arg(templatePath, QString::fromStdString(engine.error_message())));
    return QString::fromStdString(html);
}

} // namespace carvendo::report
