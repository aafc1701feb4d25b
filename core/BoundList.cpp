#include "core/BoundList.h"

#include <QStringList>

namespace carvendo::core {

BoundList boundList(const QString& prefix, const QVariantList& values)
{
    BoundList list;
    QStringList names;
    names.reserve(values.size());
    for (int i = 0; i < values.size(); ++i) {
        const QString name = prefix + QString::number(i);
        names.append(u':' + name);
        list.params.insert(name, values.at(i));
    }
    list.placeholders = names.join(QStringLiteral(", "));
    return list;
}

void forEachSlice(const QString& prefix, const QVariantList& values,
                  const std::function<void(const BoundList&)>& slice)
{
    for (qsizetype from = 0; from < values.size(); from += kBoundSlice)
        slice(boundList(prefix, values.mid(from, kBoundSlice)));
}

} // namespace carvendo::core
