#pragma once

#include "core/Rows.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QVariantMap>

#include <map>

namespace carvendo::core {

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
};

} // namespace carvendo::core
