#pragma once

#include "einvoice/InvoiceData.h"

#include "core/Rows.h"

#include <QHash>
#include <QList>
#include <QString>

#include <functional>

namespace carvendo::core {
class Db;
class Dialogs;
class Paths;
struct CompanyRecord;
} // namespace carvendo::core

namespace carvendo::einvoice {

class FatturaPaValidator;

// An invoice to export, with the file of its earlier export that the operator agreed to replace
// (empty when it had none) and how messages name it.
struct ExportChoice
{
    int invoiceId = 0;
    QString replacing;
    QString label; // "Fattura 7/2026"
};

struct ExportedFile
{
    int invoiceId = 0;
    QString progressive; // "00001"
    QString fileName;    // "IT01234567890_00001.xml"
    QString path;
    QString notWritten; // the operator's message when the file could not be written: it stays pending
    // The operator's message when another workstation exported the invoice since the choice: the
    // file named is that workstation's, not written here.
    QString exportedElsewhere;
    // The operator's message when the earlier file it replaces could not be removed: it goes at the
    // next export.
    QString notRemoved;

    bool written() const { return notWritten.isEmpty() && exportedElsewhere.isEmpty(); }
};

// How far an export is: steps done out of all of them (each invoice is checked and recorded, then written).
using ExportProgress = std::function<void(int done, int total)>;

// Exports stored invoices to their FatturaPA files, one per invoice named
// IT<transmitter>_<progressive>.xml. One transaction locks the invoices, takes their transmission
// numbers from the counter (its row stays locked to the commit: a second workstation exporting
// meanwhile waits and gets the next ones), reads each invoice as it now is and builds and checks its
// file with its number (a refused one exports nothing and gives every number back), and records the
// numbers on the invoices and each file's bytes. Only after the commit are the
// files written; one that cannot be written keeps its number and stays pending (FatturaPaFiles).
class FatturaPaExport
{
public:
    FatturaPaExport(core::Db& db, const core::Paths& paths, const core::CompanyRecord& company,
                    const FatturaPaValidator& validator);

    static QString replaceQuestion(const QString& invoiceLabel, const QString& fileName);
    static QString exportedElsewhereMessage(const QString& invoiceLabel, const QString& fileName);
    // An empty label: the invoice is known by its id alone.
    static QString goneMessage(const QString& invoiceLabel);

    // Asked before the export, on the window thread: an invoice exported before may have gone out
    // already, so it is exported again only when the operator agrees, even when its file is no longer
    // in the folder. An invoice deleted since it was listed is left out, the operator told.
    QList<ExportChoice> choose(core::Dialogs& dialogs, const QList<int>& invoiceIds);
    // Every invoice is checked before the first number is taken: one refused, or deleted since the
    // choice, and none is exported. One that another workstation exported since the choice keeps that
    // file: it is returned with exportedElsewhere told.
    QList<ExportedFile> exportInvoices(const QList<ExportChoice>& chosen,
                                       const ExportProgress& progress = {});

private:
    // A file recorded by the export's transaction, to be written after its commit.
    struct Recorded
    {
        ExportedFile file;
        QByteArray contents;
        qint64 recordId = 0;
    };

    QList<Recorded> record(const QList<ExportChoice>& chosen, QList<ExportedFile>& exportedElsewhere,
                           const std::function<void()>& step);
    QList<ExportedFile> writeOut(const QList<Recorded>& recorded, const std::function<void()>& step);
    // The invoices' numbers and files by id; locked to the end of the transaction when asked, in the
    // order of their ids.
    QHash<int, core::Row> invoicesOf(const QList<int>& invoiceIds, bool lock);
    qint64 takeProgressives(int count);

    core::Db& m_db;
    const core::Paths& m_paths;
    const core::CompanyRecord& m_company;
    const FatturaPaValidator& m_validator;
};

} // namespace carvendo::einvoice
