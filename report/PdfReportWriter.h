#pragma once

#include <QString>

class QTextDocument;

namespace carvendo::report {

// Writes a filled document as an A4 PDF file with real, searchable text. The folder is created;
// a file that cannot be written throws core::ReportError.
class PdfReportWriter
{
public:
    static void write(QTextDocument& document, const QString& path, const QString& title);
};

} // namespace carvendo::report
