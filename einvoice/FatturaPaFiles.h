#pragma once

#include "core/Db.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace carvendo::core {
class Paths;
} // namespace carvendo::core

namespace carvendo::einvoice {

// The FatturaPA files of the exported invoices as the export committed them (`fatturapa_file`): a
// file reaches the folder only after its number is committed, and one that could not be written
// then stays pending until an export, the sending by PEC or the opening of the invoice list writes
// it. Writing a recorded file is idempotent: the same bytes under the same name. The invoice's earlier
// file that a new one replaces is recorded with it (`Sostituisce`) and removed only once the new one
// is written; the record keeps owing the removal until the earlier file is gone, so a removal that
// failed, or that a stop after the commit cut short, is tried again by writePending.
class FatturaPaFiles
{
public:
    FatturaPaFiles(core::Db& db, const core::Paths& paths);

    // Where the files go: documenti/FattureElettroniche.
    static QString folder(const core::Paths& paths);
    static QString notWrittenMessage(const QString& fileName, const QString& reason);
    static QString notRemovedMessage(const QString& replaced, const QString& replacement,
                                     const QString& reason);

    // Inside the export's transaction, the invoice's row locked: the invoice's file with its number,
    // still to be written, and the earlier file it replaces. An earlier file of the invoice still
    // pending is no longer due: the new one replaces it, and the file that one was to replace (the one
    // in the folder) passes to the new record. Returns the record's id.
    qint64 record(int invoiceId, const QString& progressive, const QString& fileName,
                  const QByteArray& contents, const QString& replacing);
    // The file written atomically to the folder: empty when written, else the operator's message.
    QString write(const QString& fileName, const QByteArray& contents) const;
    // The records whose files are in the folder marked so; after the commit the files they replace
    // leave the folder. Returns the operator's messages, by record, of the earlier files that could
    // not be removed (their records keep owing the removal).
    QMap<qint64, QString> markWritten(const QList<qint64>& recordIds);

    // Every pending file written and marked, and every earlier file still owed removed; the messages
    // of those that could not be written (they stay pending) or removed. A second workstation doing
    // the same waits for this one's records.
    QStringList writePending();
    // The path of the invoice's latest file, written again from its record when pending or missing
    // from the folder. An invoice exported before files were recorded has its file as the invoice
    // names it, when it is still in the folder. Empty when there is neither. Throws core::Error when
    // a recorded file cannot be written.
    QString writtenFileOf(int invoiceId);

    QString pathOf(const QString& fileName) const;

private:
    void setWritten(const QList<qint64>& recordIds);
    QMap<qint64, QString> removeReplacedBy(const QList<qint64>& recordIds);
    // Rows id, NomeFile, Sostituisce: each earlier file removed, its record cleared once it is gone.
    QMap<qint64, QString> removeReplaced(const core::Rows& owed);

    core::Db& m_db;
    const core::Paths& m_paths;
};

} // namespace carvendo::einvoice
