#pragma once

#include "core/CompanyHeading.h"

#include <QString>

namespace carvendo::core {
class Db;
class Paths;
class ReportOutput;
} // namespace carvendo::core

namespace carvendo::documents {

class SalesDocument;

// "Crea Pdf": the print of a saved document as a PDF file under its kind's documents folder, named
// after its number, series and year (SalesDocument::pdfPath). The report port writes it under a
// temporary name and renames it when complete, so a failure or a crash never leaves half a file under
// that name, and the file an earlier "Crea Pdf" wrote stays until the new one is whole.
class DocumentPdf
{
public:
    DocumentPdf(core::Db& db, const core::Paths& paths, core::ReportOutput& reports,
                core::CompanyHeading heading = {});

    static QString notSavedMessage(); // "Salvare il documento prima di crearne il PDF."

    // Writes the PDF with the template named (the document's own template, as the `report` table
    // names it, when empty) and gives its path. A document not yet saved has no number: refused.
    // Failures throw core::Error (core::ReportError from the print).
    QString write(const SalesDocument& document, const QString& templateName = {}) const;

private:
    core::Db& m_db;
    const core::Paths& m_paths;
    core::ReportOutput& m_reports;
    core::CompanyHeading m_heading;
};

} // namespace carvendo::documents
