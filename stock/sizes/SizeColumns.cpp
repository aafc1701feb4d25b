#include "stock/sizes/SizeColumns.h"

#include <QStringList>

#include <stdexcept>

namespace carvendo::stock {

namespace {

QString column(const char* stem, int size)
{
    if (size < 1 || size > kSizeCount)
        throw std::out_of_range("size outside 1..30");
    return QLatin1String(stem) + QString::number(size);
}

QString columnList(const char* stem, const QString& prefix)
{
    QStringList columns;
    for (int size = 1; size <= kSizeCount; ++size)
        columns << prefix + column(stem, size);
    return columns.join(QStringLiteral(", "));
}

} // namespace

QString quantityColumn(int size)
{
    return column("TG", size);
}

QString barcodeColumn(int size)
{
    return column("BAR", size);
}

QString quantityColumnList(const QString& prefix)
{
    return columnList("TG", prefix);
}

QString barcodeColumnList(const QString& prefix)
{
    return columnList("BAR", prefix);
}

} // namespace carvendo::stock
