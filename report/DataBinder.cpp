#include "report/DataBinder.h"

#include "core/Money.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QVariantList>

#include <vector>

namespace carvendo::report {

namespace {

bool isWholeNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

bool isFloating(const QVariant& value)
{
    return value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float;
}

} // namespace

QString DataBinder::text(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return {};
    if (isFloating(value))
        return core::Money::fromDouble(value.toDouble()).toItalian();
    if (isWholeNumber(value))
        return value.toString();
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("dd/MM/yyyy HH:mm"));
    case QMetaType::QTime:
        return value.toTime().toString(QStringLiteral("HH:mm"));
    case QMetaType::Bool:
        return {};
    default:
        break;
    }
    if (value.canConvert<core::Money>() && value.metaType() == QMetaType::fromType<core::Money>())
        return value.value<core::Money>().toItalian();
    return value.toString();
}

QString DataBinder::quantityText(const QVariant& value, int quantityDecimals)
{
    if (!isFloating(value) && !isWholeNumber(value))
        return text(value);
    QString printed = core::formatQuantity(value.toDouble());
    if (quantityDecimals < 3) {
        while (printed.endsWith(u'0'))
            printed.chop(1);
        if (printed.endsWith(u','))
            printed.chop(1);
        if (printed == u"-0")
            printed = QStringLiteral("0");
    }
    return printed;
}

QVariant DataBinder::bindValue(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::QVariantMap: {
        QVariantMap bound;
        const QVariantMap map = value.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            bound.insert(it.key(), bindValue(it.value()));
        return bound;
    }
    case QMetaType::QVariantList:
    case QMetaType::QStringList: {
        QVariantList bound;
        for (const QVariant& item : value.toList())
            bound.append(bindValue(item));
        return bound;
    }
    default:
        return text(value);
    }
}

QVariantMap DataBinder::bind(const core::ReportRequest& request, int quantityDecimals)
{
    QVariantMap tree;
    for (const auto& [name, rows] : request.datasets) {
        QVariantList list;
        list.reserve(rows.size());
        const QStringList& columns = rows.columns();
        QStringList lowerCase;
        std::vector<bool> isQuantity;
        for (const QString& column : columns) {
            lowerCase.append(column.toLower());
            isQuantity.push_back(request.columnKind(name, column) == core::PrintedNumber::Quantity);
        }
        for (int r = 0; r < rows.size(); ++r) {
            QVariantMap row;
            for (int c = 0; c < columns.size(); ++c) {
                const QVariant value = rows.at(r, c).variant();
                row.insert(lowerCase[c],
                           isQuantity[size_t(c)] ? quantityText(value, quantityDecimals) : text(value));
            }
            for (int c = 0; c < columns.size(); ++c) // the real names win over the lower-case ones
                row.insert(columns[c], row.value(lowerCase[c]));
            list.append(row);
        }
        tree.insert(name, list);
    }
    for (auto it = request.values.cbegin(); it != request.values.cend(); ++it)
        tree.insert(it.key(), bindValue(it.value()));
    tree.insert(QStringLiteral("logo"), !request.logo.isEmpty());
    QVariantMap hidden;
    for (const QString& memo : request.hiddenMemos)
        hidden.insert(memo, true);
    tree.insert(QStringLiteral("hidden"), hidden);
    return tree;
}

} // namespace carvendo::report
