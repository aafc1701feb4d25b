#pragma once

#include "core/Db.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace carvendo::core {
class Paths;
} // namespace carvendo::core

namespace carvendo::einvoice {

// Ids bound one placeholder each (":ID0, :ID1, ..."): the SQL text holds only the generated names.
struct BoundIds
{
    QString placeholders;
    core::Params params;

    static BoundIds of(const QList<qint64>& ids);
};

// A recorded file now in the folder: its record, and the invoice's earlier file it replaces (empty
// when none).
struct WrittenFile
{
    qint64 recordId = 0;
    QString replacing;
};

// The FatturaPA files of the exported invoices as the export committed them (`fatturapa_file`): a
// file reaches the folder only after its number is committed, and one that could not be written
// then stays pending until an export, the sending by PEC or the opening of the invoice list writes
// it. Writing a recorded file is idempotent: the same bytes under the same name. The invoice's earlier
// file that a new one replaces is recorded with it and removed only once the new one is written.
class FatturaPaFiles
{
public:
    FatturaPaFiles(core::Db& db, const core::Paths& paths);

    // Where the files go: documenti/FattureElettroniche.
    static QString folder(const core::Paths& paths);
    static QString notWrittenMessage(const QString& fileName, const QString& reason);

    // Inside the export's transaction: the invoice's file with its number, still to be written, and
    // the earlier file it replaces. An earlier file of the invoice still pending is no longer due: the
    // new one replaces it. Returns the record's id.
    qint64 record(int invoiceId, const QString& progressive, const QString& fileName,
                  const QByteArray& contents, const QString& replacing);
    // The file written atomically to the folder: empty when written, else the operator's message.
    QString write(const QString& fileName, const QByteArray& contents) const;
    // The records whose files are in the folder marked so; after the commit the files they replace
    // leave the folder.
    void markWritten(const QList<WrittenFile>& written);

    // Every pending file written and marked; the messages of those that could not be written (they
    // stay pending). A second workstation doing the same waits for this one's records.
    QStringList writePending();
    // The path of the invoice's latest file, written again from its record when pending or missing
    // from the folder. An invoice exported before files were recorded has its file as the invoice
    // names it, when it is still in the folder. Empty when there is neither. Throws core::Error when
    // a recorded file cannot be written.
    QString writtenFileOf(int invoiceId);

    QString pathOf(const QString& fileName) const;

private:
    void setWritten(const QList<WrittenFile>& written);
    void removeReplaced(const QList<WrittenFile>& written) const;

    core::Db& m_db;
    const core::Paths& m_paths;
};

} // namespace carvendo::einvoice
