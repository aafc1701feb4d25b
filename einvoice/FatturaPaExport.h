#pragma once

#include "einvoice/InvoiceData.h"

#include <QList>
#include <QString>

#include <optional>

namespace carvendo::core {
class Db;
class Dialogs;
class Paths;
struct CompanyRecord;
} // namespace carvendo::core

namespace carvendo::einvoice {

class FatturaPaValidator;

struct ExportedFile
{
    int invoiceId = 0;
    QString progressive; // "00001"
    QString fileName;    // "IT01234567890_00001.xml"
    QString path;
};

// Exports stored invoices to their FatturaPA files in documenti/FattureElettroniche, one file per
// invoice named IT<transmitter>_<progressive>.xml. Each invoice is checked first (a refused one
// writes nothing); then, in one transaction for all of them, their transmission numbers are taken
// from the counter (its row stays locked to the commit: a second workstation exporting meanwhile
// waits and gets the next ones) and recorded on each invoice with the file name and the export time,
// the files are written atomically, and the transaction commits. A file that cannot be written gives
// every number back and leaves no file.
class FatturaPaExport
{
public:
    FatturaPaExport(core::Db& db, core::Dialogs& dialogs, const core::Paths& paths,
                    const core::CompanyRecord& company, const FatturaPaValidator& validator);

    static QString replaceQuestion(const QString& invoiceLabel, const QString& fileName);
    // Where the files go: documenti/FattureElettroniche.
    static QString folder(const core::Paths& paths);

    // nullopt when the invoice was exported before and the operator keeps that file.
    std::optional<ExportedFile> exportInvoice(int invoiceId);
    // Every invoice is checked before the first file is written: one refused, none is exported.
    // Those whose earlier file the operator keeps are left out of the result.
    QList<ExportedFile> exportInvoices(const QList<int>& invoiceIds);

private:
    // The invoice read and its file checked, before it has its number.
    InvoiceData prepare(int invoiceId) const;
    QList<ExportedFile> write(const QList<InvoiceData>& invoices);
    qint64 takeProgressives(int count);

    core::Db& m_db;
    core::Dialogs& m_dialogs;
    const core::Paths& m_paths;
    const core::CompanyRecord& m_company;
    const FatturaPaValidator& m_validator;
};

} // namespace carvendo::einvoice
