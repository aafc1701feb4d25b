#pragma once

#include "core/Error.h"
#include "core/Rows.h"

#include <QString>
#include <QStringList>

#include <stdexcept>

namespace carvendo::gridexport {

// The file kinds a list grid can be written to.
enum class ExportFormat
{
    Xml,
    Excel, // .xlsx
    Html,
    Text // CSV with ";" between fields
};

// A grid could not be written; the text is for an error box.
class GridExportError : public core::Error
{
public:
    using core::Error::Error;
};

// Writes the rows of a list grid to a file: the column headers (the captions when given, one per
// column, else the column names) and every row, values as the grid shows them. The file is written
// whole or not at all (a failure leaves no half file and throws GridExportError).
class GridExport
{
public:
    // The caption of the format as the list offers it ("XML", "EXCEL", "HTML", "TXT"), and the
    // filter of the file dialog.
    static QString formatCaption(ExportFormat format);
    static QString fileFilter(ExportFormat format);
    static QString fileExtension(ExportFormat format); // "xlsx", without the dot

    static void write(const core::Rows& rows, ExportFormat format, const QString& path,
                      const QStringList& captions = {});

    // One value as text: dates as dd/MM/yyyy, numbers as the server gave them, NULL as "".
    static QString cellText(const core::Field& field);

private:
    static QByteArray csv(const core::Rows& rows, const QStringList& headers);
    static QByteArray html(const core::Rows& rows, const QStringList& headers);
    static QByteArray xml(const core::Rows& rows, const QStringList& headers);
    static void xlsx(const core::Rows& rows, const QStringList& headers, const QString& path);
};

} // namespace carvendo::gridexport
