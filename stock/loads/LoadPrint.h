#pragma once

#include "core/CompanyHeading.h"
#include "core/ReportRequest.h"

#include <QString>

namespace carvendo::core {
class Db;
class Paths;
class ReportOutput;
} // namespace carvendo::core

namespace carvendo::stock {

// The loads' callers name it from here.
using CompanyHeading = core::CompanyHeading;

// The printed goods-in document ("carico" template): heading, supplier, rows and totals; previewed, or
// written as "Carico_Nr.<number>.pdf" under documenti/Acquisti.
class LoadPrint
{
public:
    LoadPrint(core::Db& db, const core::Paths& paths, core::ReportOutput& reports,
              CompanyHeading heading = {})
        : m_db(db), m_paths(paths), m_reports(reports), m_heading(std::move(heading))
    {
    }

    core::ReportRequest request(int idCarico);
    void preview(int idCarico);
    // The PDF's path.
    QString exportPdf(int idCarico);

    QString pdfPath(int numero) const;

private:
    core::Db& m_db;
    const core::Paths& m_paths;
    core::ReportOutput& m_reports;
    CompanyHeading m_heading;
};

} // namespace carvendo::stock
