#pragma once

#include "core/ReportRequest.h"

#include <QString>
#include <QTextDocument>

#include <memory>

class QPagedPaintDevice;

namespace carvendo::report {

// Every print of the program goes through here: the template of the request is read from the
// Report folder, filled with the request's datasets and values, and laid out; the document is then
// written as a PDF file or painted on a printer or preview. Failures throw core::ReportError.
// Needs a QGuiApplication (fonts).
class ReportEngine
{
public:
    // impostazioniIni: the workstation's impostazioni.ini, whose "3 Decimali" says how quantities
    // print (read at every print, so a changed setting holds from the next one); none: whole pieces.
    explicit ReportEngine(QString reportDir, QString impostazioniIni = {});

    // The filled document of a request, ready to paint (any number of times, on any device).
    std::unique_ptr<QTextDocument> document(const core::ReportRequest& request) const;
    // The filled HTML, before layout.
    QString html(const core::ReportRequest& request) const;
    // The request as an A4 PDF file at path (folders created).
    void writePdf(const core::ReportRequest& request, const QString& path) const;
    // A document on a printer or preview page device, with page numbers.
    static void paint(QTextDocument& document, QPagedPaintDevice& device);

    const QString& reportDir() const { return m_reportDir; }

private:
    int quantityDecimals() const;

    QString m_reportDir;
    QString m_impostazioniIni;
};

} // namespace carvendo::report
