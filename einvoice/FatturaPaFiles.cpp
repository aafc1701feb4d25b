#include "einvoice/FatturaPaFiles.h"

#include "core/BoundList.h"
#include "core/Db.h"
#include "core/Error.h"
#include "core/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace carvendo::einvoice {

namespace {

QVariantList variantsOf(const QList<qint64>& ids)
{
    return QVariantList(ids.begin(), ids.end());
}

} // namespace

FatturaPaFiles::FatturaPaFiles(core::Db& db, const core::Paths& paths) : m_db(db), m_paths(paths) {}

QString FatturaPaFiles::folder(const core::Paths& paths)
{
    return paths.documentsDir(core::DocumentFolder::FattureElettroniche);
}

QString FatturaPaFiles::notWrittenMessage(const QString& fileName, const QString& reason)
{
    return QStringLiteral("Il file %1 non è stato scritto: %2. Sarà scritto alla prossima esportazione.")
        .arg(fileName, reason);
}

QString FatturaPaFiles::notRemovedMessage(const QString& replaced, const QString& replacement,
                                          const QString& reason)
{
    return QStringLiteral("Il file %1, sostituito da %2, non è stato eliminato: %3. Sarà eliminato alla "
                          "prossima esportazione.")
        .arg(replaced, replacement, reason);
}

QString FatturaPaFiles::pathOf(const QString& fileName) const
{
    return QDir(folder(m_paths)).filePath(fileName);
}

qint64 FatturaPaFiles::record(int invoiceId, const QString& progressive, const QString& fileName,
                              const QByteArray& contents, const QString& replacing)
{
    const core::Params invoice{{QStringLiteral("IDFATTURA"), invoiceId}};
    // The pending file never reached the folder: the one it was to replace is still there.
    const QString inFolder =
        m_db.scalar(QStringLiteral("SELECT Sostituisce FROM fatturapa_file WHERE idFattura = :IDFATTURA AND "
                                   "Scritto = 0 AND Sostituisce IS NOT NULL ORDER BY id LIMIT 1"),
                    invoice)
            .toString();
    m_db.exec(QStringLiteral("UPDATE fatturapa_file SET Scritto = 1, Sostituisce = NULL WHERE idFattura = "
                             ":IDFATTURA AND Scritto = 0"),
              invoice);
    const QString replaced = inFolder.isEmpty() ? replacing : inFolder;
    m_db.exec(QStringLiteral("INSERT INTO fatturapa_file (idFattura, Progressivo, NomeFile, Contenuto, "
                             "DataExport, Scritto, Sostituisce) VALUES (:IDFATTURA, :PROGRESSIVO, :NOMEFILE, "
                             ":CONTENUTO, NOW(), 0, :SOSTITUISCE)"),
              {{QStringLiteral("IDFATTURA"), invoiceId},
               {QStringLiteral("PROGRESSIVO"), progressive},
               {QStringLiteral("NOMEFILE"), fileName},
               {QStringLiteral("CONTENUTO"), contents},
               {QStringLiteral("SOSTITUISCE"),
                replaced.isEmpty() || replaced == fileName ? QVariant() : QVariant(replaced)}});
    return m_db.lastInsertId();
}

QString FatturaPaFiles::write(const QString& fileName, const QByteArray& contents) const
{
    const QString target = core::Paths::ensureDir(folder(m_paths));
    QSaveFile out(QDir(target).filePath(fileName));
    if (out.open(QIODevice::WriteOnly) && out.write(contents) == contents.size() && out.commit())
        return {};
    return notWrittenMessage(fileName, out.errorString());
}

QMap<qint64, QString> FatturaPaFiles::markWritten(const QList<qint64>& recordIds)
{
    if (recordIds.isEmpty())
        return {};
    core::Transaction transaction(m_db);
    setWritten(recordIds);
    transaction.commit();
    return removeReplacedBy(recordIds);
}

void FatturaPaFiles::setWritten(const QList<qint64>& recordIds)
{
    core::forEachSlice(QStringLiteral("ID"), variantsOf(recordIds), [&](const core::BoundList& slice) {
        m_db.exec(
            QStringLiteral("UPDATE fatturapa_file SET Scritto = 1 WHERE id IN (%1)").arg(slice.placeholders),
            slice.params);
    });
}

// Only once the new files are in the folder and recorded so: until then the earlier one is the
// invoice's only file there.
QMap<qint64, QString> FatturaPaFiles::removeReplacedBy(const QList<qint64>& recordIds)
{
    QMap<qint64, QString> failures;
    core::forEachSlice(QStringLiteral("ID"), variantsOf(recordIds), [&](const core::BoundList& slice) {
        failures.insert(removeReplaced(m_db.query(QStringLiteral("SELECT id, NomeFile, Sostituisce FROM "
                                                                 "fatturapa_file WHERE id IN (%1) AND "
                                                                 "Sostituisce IS NOT NULL ORDER BY id")
                                                      .arg(slice.placeholders),
                                                  slice.params)));
    });
    return failures;
}

// A file already gone counts as removed: another workstation may have removed it first.
QMap<qint64, QString> FatturaPaFiles::removeReplaced(const core::Rows& owed)
{
    QMap<qint64, QString> failures;
    QVariantList removed;
    for (const core::Row row : owed) {
        const QString earlier = row[u"Sostituisce"].toString();
        QFile file(pathOf(earlier));
        if (file.remove() || !file.exists())
            removed << row[u"id"].toInt64();
        else
            failures.insert(row[u"id"].toInt64(),
                            notRemovedMessage(earlier, row[u"NomeFile"].toString(), file.errorString()));
    }
    core::forEachSlice(QStringLiteral("ID"), removed, [&](const core::BoundList& slice) {
        m_db.exec(QStringLiteral("UPDATE fatturapa_file SET Sostituisce = NULL WHERE id IN (%1)")
                      .arg(slice.placeholders),
                  slice.params);
    });
    return failures;
}

// The pending records stay locked while their files are written: an export replacing one of them
// waits, so the earlier file it removes is not written again behind it.
QStringList FatturaPaFiles::writePending()
{
    QStringList failures;
    core::Transaction transaction(m_db);
    const core::Rows pending =
        m_db.query(QStringLiteral("SELECT id, NomeFile, Contenuto FROM fatturapa_file WHERE Scritto = 0 "
                                  "ORDER BY id FOR UPDATE"));
    QList<qint64> written;
    for (const core::Row row : pending) {
        const QString failure = write(row[u"NomeFile"].toString(), row[u"Contenuto"].toBytes());
        if (!failure.isEmpty())
            failures << failure;
        else
            written << row[u"id"].toInt64();
    }
    setWritten(written);
    transaction.commit();
    failures << removeReplaced(
                    m_db.query(QStringLiteral("SELECT id, NomeFile, Sostituisce FROM fatturapa_file "
                                              "WHERE Scritto = 1 AND Sostituisce IS NOT NULL "
                                              "ORDER BY id")))
                    .values();
    return failures;
}

// The invoice's row is locked first, as the export locks it: an export replacing the file waits
// until this one is written and marked, and one already committed is what this one finds, so an
// outdated file is never written back nor sent.
QString FatturaPaFiles::writtenFileOf(int invoiceId)
{
    const core::Params invoice{{QStringLiteral("IDFATTURA"), invoiceId}};
    core::Transaction transaction(m_db);
    const core::Rows invoices = m_db.query(
        QStringLiteral(
            "SELECT IFNULL(FilePA, '') AS FilePA FROM fatture WHERE idFattura = :IDFATTURA FOR UPDATE"),
        invoice);
    if (invoices.isEmpty())
        return {};
    const core::Rows latest =
        m_db.query(QStringLiteral("SELECT id, NomeFile, Contenuto, Scritto FROM fatturapa_file WHERE "
                                  "idFattura = :IDFATTURA ORDER BY id DESC LIMIT 1"),
                   invoice);
    if (latest.isEmpty()) {
        const QString earlier = invoices.first()[u"FilePA"].toString();
        return !earlier.isEmpty() && QFileInfo::exists(pathOf(earlier)) ? pathOf(earlier) : QString();
    }
    const core::Row row = latest.first();
    const qint64 recordId = row[u"id"].toInt64();
    const QString fileName = row[u"NomeFile"].toString();
    if (!row[u"Scritto"].toBool() || !QFileInfo::exists(pathOf(fileName))) {
        const QString failure = write(fileName, row[u"Contenuto"].toBytes());
        if (!failure.isEmpty())
            throw core::Error(failure);
        setWritten({recordId});
    }
    transaction.commit();
    // An earlier file that cannot be removed now stays owed: the next writePending tells it.
    removeReplacedBy({recordId});
    return pathOf(fileName);
}

} // namespace carvendo::einvoice
