#pragma once

#include "core/Dialogs.h"
#include "core/Error.h"
#include "core/ReportRequest.h"

#include <QLocale>
#include <QString>

#include <stdexcept>

namespace carvendo::core {

// A print could not be made (template missing or unreadable, file not writable); the text is for an
// error box.
class ReportError : public Error
{
public:
    using Error::Error;
};

// Where a print goes. Logic prints only through this port: the program shows a preview window or
// the printer dialog; tests and batch work write PDF files. A failure throws ReportError.
class ReportOutput
{
public:
    virtual ~ReportOutput() = default;

    // The document on screen, with the commands to print or save it.
    virtual void preview(const ReportRequest& request) = 0;
    // Straight to a printer (the operator picks it).
    virtual void print(const ReportRequest& request) = 0;
    // A PDF file at the path (folders are created); its text is real, searchable text. It shows
    // nothing, so a long export may call it from a background job, off the window thread.
    virtual void exportPdf(const ReportRequest& request, const QString& path) = 0;
};

// A list longer than this is laid out only when the operator confirms: it takes long and gives
// thousands of pages.
inline constexpr int LargePrintRows = 5000;

// Asks before a long list is printed ("L'elenco da stampare contiene 12.000 articoli. Vuoi
// continuare?"); true when the list is short or the operator goes on. what: "articoli", "movimenti".
inline bool mayPrintList(Dialogs& dialogs, int rows, const QString& what)
{
    return rows <= LargePrintRows ||
           dialogs.confirm(QStringLiteral("L'elenco da stampare contiene %1 %2. Vuoi continuare?")
                               .arg(QLocale(QLocale::Italian).toString(rows), what));
}

} // namespace carvendo::core
