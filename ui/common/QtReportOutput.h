#pragma once

#include "core/ReportOutput.h"
#include "report/ReportEngine.h"

#include <memory>

class QTextDocument;
class QWidget;

namespace carvendo::core {
class Dialogs;
} // namespace carvendo::core

namespace carvendo::ui {

// The program's print output: a preview window with "Stampa" and "Salva PDF", the printer dialog
// for a straight print, and PDF files through the report engine. Windows open over the active one.
class QtReportOutput : public core::ReportOutput
{
public:
    QtReportOutput(QString reportDir, core::Dialogs& dialogs, QString impostazioniIni = {});

    void preview(const core::ReportRequest& request) override;
    void print(const core::ReportRequest& request) override;
    void exportPdf(const core::ReportRequest& request, const QString& path) override;

private:
    std::unique_ptr<QTextDocument> document(const core::ReportRequest& request) const;

    report::ReportEngine m_engine;
    core::Dialogs& m_dialogs;
};

} // namespace carvendo::ui
