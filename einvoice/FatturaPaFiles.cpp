#include "einvoice/FatturaPaFiles.h"

#include "core/Db.h"
#include "core/Error.h"
#include "core/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace carvendo::einvoice {

BoundIds BoundIds::of(const QList<qint64>& ids)
{
    BoundIds bound;
    QStringList names;
    for (qsizetype i = 0; i < ids.size(); ++i) {
        const QString name = QStringLiteral("ID%1").arg(i);
        names << u':' + name;
        bound.params.insert(name, ids[i]);
    }
    bound.placeholders = names.join(QStringLiteral(", "));
    return bound;
}

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

QString FatturaPaFiles::pathOf(const QString& fileName) const
{
    return QDir(folder(m_paths)).filePath(fileName);
}

qint64 FatturaPaFiles::record(int invoiceId, const QString& progressive, const QString& fileName,
                              const QByteArray& contents, const QString& replacing)
{
    m_db.exec(
        QStringLiteral("UPDATE fatturapa_file SET Scritto = 1 WHERE idFattura = :IDFATTURA AND Scritto = 0"),
        {{QStringLiteral("IDFATTURA"), invoiceId}});
    m_db.exec(QStringLiteral("INSERT INTO fatturapa_file (idFattura, Progressivo, NomeFile, Contenuto, "
                             "DataExport, Scritto, Sostituisce) VALUES (:IDFATTURA, :PROGRESSIVO, :NOMEFILE, "
                             ":CONTENUTO, NOW(), 0, :SOSTITUISCE)"),
              {{QStringLiteral("IDFATTURA"), invoiceId},
               {QStringLiteral("PROGRESSIVO"), progressive},
               {QStringLiteral("NOMEFILE"), fileName},
               {QStringLiteral("CONTENUTO"), contents},
               {QStringLiteral("SOSTITUISCE"),
                replacing.isEmpty() || replacing == fileName ? QVariant() : QVariant(replacing)}});
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

void FatturaPaFiles::markWritten(const QList<WrittenFile>& written)
{
    core::Transaction transaction(m_db);
    setWritten(written);
    transaction.commit();
    removeReplaced(written);
}

void FatturaPaFiles::setWritten(const QList<WrittenFile>& written)
{
    if (written.isEmpty())
        return;
    QList<qint64> ids;
    for (const WrittenFile& one : written)
        ids << one.recordId;
    const BoundIds bound = BoundIds::of(ids);
    m_db.exec(
        QStringLiteral("UPDATE fatturapa_file SET Scritto = 1 WHERE id IN (%1)").arg(bound.placeholders),
        bound.params);
}

// Only once the new file is in the folder and recorded so: until then the earlier one is the
// invoice's only file there.
void FatturaPaFiles::removeReplaced(const QList<WrittenFile>& written) const
{
    for (const WrittenFile& one : written)
        if (!one.replacing.isEmpty())
            QFile::remove(pathOf(one.replacing));
}

// The pending records stay locked while their files are written: an export replacing one of them
// waits, so the earlier file it removes is not written again behind it.
QStringList FatturaPaFiles::writePending()
{
    QStringList failures;
    QList<WrittenFile> written;
    core::Transaction transaction(m_db);
    const core::Rows pending = m_db.query(
        QStringLiteral("SELECT id, NomeFile, Contenuto, IFNULL(Sostituisce, '') AS Sostituisce FROM "
                       "fatturapa_file WHERE Scritto = 0 ORDER BY id FOR UPDATE"));
    for (const core::Row row : pending) {
        const QString failure = write(row[u"NomeFile"].toString(), row[u"Contenuto"].toBytes());
        if (!failure.isEmpty())
            failures << failure;
        else
            written << WrittenFile{row[u"id"].toInt64(), row[u"Sostituisce"].toString()};
    }
    setWritten(written);
    transaction.commit();
    removeReplaced(written);
    return failures;
}

QString FatturaPaFiles::writtenFileOf(int invoiceId)
{
    const core::Rows rows = m_db.query(
        QStringLiteral("SELECT IFNULL(f.FilePA, '') AS FilePA, r.id, r.NomeFile, r.Contenuto, r.Scritto, "
                       "IFNULL(r.Sostituisce, '') AS Sostituisce FROM fatture f LEFT JOIN fatturapa_file r "
                       "ON r.id = (SELECT MAX(id) FROM fatturapa_file WHERE idFattura = f.idFattura) "
                       "WHERE f.idFattura = :IDFATTURA"),
        {{QStringLiteral("IDFATTURA"), invoiceId}});
    if (rows.isEmpty())
        return {};
    const core::Row row = rows.first();
    if (row[u"id"].isNull()) {
        const QString earlier = row[u"FilePA"].toString();
        return !earlier.isEmpty() && QFileInfo::exists(pathOf(earlier)) ? pathOf(earlier) : QString();
    }
    const QString fileName = row[u"NomeFile"].toString();
    if (!row[u"Scritto"].toBool() || !QFileInfo::exists(pathOf(fileName))) {
        const QString failure = write(fileName, row[u"Contenuto"].toBytes());
        if (!failure.isEmpty())
            throw core::Error(failure);
        markWritten({{row[u"id"].toInt64(), row[u"Sostituisce"].toString()}});
    }
    return pathOf(fileName);
}

} // namespace carvendo::einvoice
