#include "report/TemplateFiller.h"

#include "core/ReportOutput.h"

#include <kainjow/mustache.hpp>

namespace carvendo::report {

namespace mustache = kainjow::mustache;

namespace {

// Each part of the tree is let go as soon as it is converted: a list of 100,000 rows is never
// held twice.
mustache::data toData(QVariant&& value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return mustache::data(value.toBool());
    case QMetaType::QVariantMap: {
        mustache::data object(mustache::data::type::object);
        QVariantMap map = value.toMap();
        value = QVariant();
        for (auto it = map.begin(); it != map.end(); ++it) {
            object.set(it.key().toStdString(), toData(std::move(it.value())));
            it.value() = QVariant();
        }
        return object;
    }
    case QMetaType::QVariantList: {
        mustache::data list(mustache::data::type::list);
        QVariantList items = value.toList();
        value = QVariant();
        for (QVariant& item : items) {
            list.push_back(toData(std::move(item)));
            item = QVariant();
        }
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
        case u'&':
            out += QStringLiteral("&amp;");
            break;
        case u'<':
            out += QStringLiteral("&lt;");
            break;
        case u'>':
            out += QStringLiteral("&gt;");
            break;
        case u'"':
            out += QStringLiteral("&quot;");
            break;
        case u'\'':
            out += QStringLiteral("&#39;");
            break; // the layout engine does not know &apos;
        case u'\r':
            break;
        case u'\n':
            out += QStringLiteral("<br/>");
            break;
        default:
            out += ch;
        }
    }
    return out;
}

QString TemplateFiller::fill(const QString& templateText, QVariantMap tree, const QString& templatePath)
{
    mustache::mustache engine(templateText.toStdString());
    if (!engine.is_valid())
        throw core::ReportError(QStringLiteral("Modello di stampa non valido (%1): %2")
                                    .arg(templatePath, QString::fromStdString(engine.error_message())));
    engine.set_custom_escape(
        [](const std::string& text) { return escape(QString::fromStdString(text)).toStdString(); });
    const std::string html = engine.render(toData(QVariant(std::move(tree))));
    if (!engine.error_message().empty())
        throw core::ReportError(QStringLiteral("Modello di stampa non valido (%1): %2")
                                    .arg(templatePath, QString::fromStdString(engine.error_message())));
    return QString::fromStdString(html);
}

} // namespace carvendo::report
