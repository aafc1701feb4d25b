#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

#include <ostream>

// Lets GoogleTest print Qt values in failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& value, std::ostream* os)
{
    *os << '"' << value.toStdString() << '"';
}
inline void PrintTo(const QDate& value, std::ostream* os)
{
    *os << value.toString(Qt::ISODate).toStdString();
}
inline void PrintTo(const QVariant& value, std::ostream* os)
{
    *os << value.toString().toStdString();
}
QT_END_NAMESPACE
