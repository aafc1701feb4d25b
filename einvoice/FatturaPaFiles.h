#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace carvendo::core {
class Db;
class Paths;
} // namespace carvendo::core

namespace carvendo::einvoice {

// The FatturaPA files of the exported invoices as the export committed them (`fatturapa_file`): a
// file reaches the folder only after its number is committed, and one that could not be written
// then stays pending until an export, the sending by PEC or the opening of the invoice list writes
// it. Writing a recorded file is idempotent: the same bytes under the same name.
class FatturaPaFiles
{
public:
    FatturaPaFiles(core::Db& db, const core::Paths& paths);

    // Where the files go: documenti/FattureElettroniche.
    static QString folder(const core::Paths& paths);
    static QString notWrittenMessage(const QString& fileName, const QString& reason);

    // Inside the export's transaction: the invoice's file with its number, still to be written. An
    // earlier file of the invoice still pending is no longer due: the new one replaces it. Returns
    // the record's id.
    qint64 record(int invoiceId, const QString& progressive, const QString& fileName,
                  const QByteArray& contents);
    // The file written atomically to the folder: empty when written, else the operator's message.
    QString write(const QString& fileName, const QByteArray& contents) const;
    // The records whose files are in the folder, in one transaction.
    void markWritten(const QList<qint64>& recordIds);

    // Every pending file written and marked; the messages of those that could not be written (they
    // stay pending). A second workstation doing the same waits for this one's records.
    QStringList writePending();
    // The path of the invoice's latest file, written again from its record when pending or missing
    // from the folder; empty when the invoice has no recorded file. Throws core::Error when it cannot
    // be written.
    QString writtenFileOf(int invoiceId);

    QString pathOf(const QString& fileName) const;

private:
    core::Db& m_db;
    const core::Paths& m_paths;
};

} // namespace carvendo::einvoice
