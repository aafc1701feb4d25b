#include "einvoice/FatturaPaFiles.h"

#include "core/Db.h"
#include "core/Error.h"
#include "core/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace carvendo::einvoice {

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
                              const QByteArray& contents)
{
    m_db.exec(
        QStringLiteral("UPDATE fatturapa_file SET Scritto = 1 WHERE idFattura = :IDFATTURA AND Scritto = 0"),
        {{QStringLiteral("IDFATTURA"), invoiceId}});
    m_db.exec(QStringLiteral("INSERT INTO fatturapa_file (idFattura, Progressivo, NomeFile, Contenuto, "
                             "DataExport, Scritto) VALUES (:IDFATTURA, :PROGRESSIVO, :NOMEFILE, :CONTENUTO, "
                             "NOW(), 0)"),
              {{QStringLiteral("IDFATTURA"), invoiceId},
               {QStringLiteral("PROGRESSIVO"), progressive},
               {QStringLiteral("NOMEFILE"), fileName},
               {QStringLiteral("CONTENUTO"), contents}});
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

void FatturaPaFiles::markWritten(const QList<qint64>& recordIds)
{
    if (recordIds.isEmpty())
        return;
    core::Transaction transaction(m_db);
    for (const qint64 id : recordIds)
        m_db.exec(QStringLiteral("UPDATE fatturapa_file SET Scritto = 1 WHERE id = :ID"),
                  {{QStringLiteral("ID"), id}});
    transaction.commit();
}

// The pending records stay locked while their files are written: an export replacing one of them
// waits, so the earlier file it removes is not written again behind it.
QStringList FatturaPaFiles::writePending()
{
    QStringList failures;
    core::Transaction transaction(m_db);
    const core::Rows pending = m_db.query(QStringLiteral(
        "SELECT id, NomeFile, Contenuto FROM fatturapa_file WHERE Scritto = 0 ORDER BY id FOR UPDATE"));
    for (const core::Row row : pending) {
        const QString failure = write(row[u"NomeFile"].toString(), row[u"Contenuto"].toBytes());
        if (!failure.isEmpty())
            failures << failure;
        else
            m_db.exec(QStringLiteral("UPDATE fatturapa_file SET Scritto = 1 WHERE id = :ID"),
                      {{QStringLiteral("ID"), row[u"id"].toInt64()}});
    }
    transaction.commit();
    return failures;
}

QString FatturaPaFiles::writtenFileOf(int invoiceId)
{
    const core::Rows latest =
        m_db.query(QStringLiteral("SELECT id, NomeFile, Contenuto, Scritto FROM fatturapa_file "
                                  "WHERE idFattura = :IDFATTURA ORDER BY id DESC LIMIT 1"),
                   {{QStringLiteral("IDFATTURA"), invoiceId}});
    if (latest.isEmpty())
        return {};
    const core::Row row = latest.first();
    const QString fileName = row[u"NomeFile"].toString();
    if (!row[u"Scritto"].toBool() || !QFileInfo::exists(pathOf(fileName))) {
        const QString failure = write(fileName, row[u"Contenuto"].toBytes());
        if (!failure.isEmpty())
            throw core::Error(failure);
        markWritten({row[u"id"].toInt64()});
    }
    return pathOf(fileName);
}

} // namespace carvendo::einvoice
