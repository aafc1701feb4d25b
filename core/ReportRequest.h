#pragma once

#include "core/Rows.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <map>

namespace carvendo::core {

// What the numbers of a dataset column are, so that they print as such: an amount "1.234,50"; a
// quantity with the decimals the shop keeps stock in ("2,500" with three decimals, "2" in whole
// pieces).
enum class PrintedNumber
{
    Amount,
    Quantity
};

// What a print is given: the template (a base name under the program's Report folder, such as
// "Inventario", or the path a `report` row names for the main documents), the window's datasets
// (name -> rows, each row's columns reachable by name in the template), the named values the caller
// sets (texts, amounts already formatted, the company logo as image bytes for "picture1") and the
// memos it hides. The printed document shows the data handed over; the caller reads nothing back.
struct ReportRequest
{
    QString templateName;
    std::map<QString, Rows> datasets;
    QVariantMap values;
    QByteArray logo;           // picture1: PNG/JPEG/BMP bytes, empty for none
    QSet<QString> hiddenMemos; // named parts of the template left out
    QString title;             // the window title of the preview and the print job's name
    // By dataset, then by column name in lower case: the kind of the columns that are not amounts.
    // A floating-point column not named here prints as an amount.
    std::map<QString, std::map<QString, PrintedNumber>> columnKinds;

    void setColumnKind(const QString& dataset, PrintedNumber kind, const QStringList& columns)
    {
        for (const QString& column : columns)
            columnKinds[dataset][column.toLower()] = kind;
    }
    PrintedNumber columnKind(const QString& dataset, const QString& column) const
    {
        const auto set = columnKinds.find(dataset);
        if (set == columnKinds.end())
            return PrintedNumber::Amount;
        const auto found = set->second.find(column.toLower());
        return found == set->second.end() ? PrintedNumber::Amount : found->second;
    }
};

} // namespace carvendo::core
