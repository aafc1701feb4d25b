#include "pos/FileReceiptDriver.h"

#include "core/Paths.h"
#include "pos/ReceiptFormat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace carvendo::pos {

namespace {

const QString DataFile = QStringLiteral("Sr_Dati.001");
const QString StartFile = QStringLiteral("Sr_Start.001");
const QString DriverDataFile = QStringLiteral("SR_Dati.001");
const QString DriverStartFile = QStringLiteral("SR_Start.001");

// A temporary file in the same folder renamed over the old one: whoever reads the file sees the
// old receipt or the new one, never a part. The driver's files are also on disk before the rename
// (a power cut must not leave it a start file without its data); our own copy is only a record.
enum class Durability
{
    Synced,
    Renamed
};

bool replaceAtomically(const QString& path, const QByteArray& bytes, Durability durability, QString& why)
{
    if (durability == Durability::Synced) {
        QSaveFile file(path);
        file.setDirectWriteFallback(false);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
            why = file.errorString();
            file.cancelWriting();
            return false;
        }
        return true;
    }
    const QString temporary = path + QStringLiteral(".tmp");
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() ||
        !file.flush()) {
        why = file.errorString();
        file.close();
        QFile::remove(temporary);
        return false;
    }
    file.close();
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) != 0) {
        why = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(temporary);
        return false;
    }
    return true;
}

} // namespace

FileReceiptDriver::FileReceiptDriver(QString receiptsDir, QString driverDir)
    : m_receiptsDir(std::move(receiptsDir)), m_driverDir(std::move(driverDir))
{
}

QByteArray FileReceiptDriver::fileBytes(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += toWindows1252(line) + "\r\n";
    return bytes;
}

void FileReceiptDriver::handOver(const Receipt& receipt)
{
    QByteArray data;
    QByteArray start;
    try {
        data = fileBytes(receipt.dataLines);
        start = fileBytes({receipt.startLine});
        core::Paths::ensureDir(m_receiptsDir);
    } catch (const core::Error& error) {
        throw ReceiptNotHandedOver(error.message());
    } catch (const std::runtime_error& error) {
        throw ReceiptNotHandedOver(QString::fromUtf8(error.what()));
    }
    if (!QFileInfo(m_driverDir).isDir())
        throw ReceiptNotHandedOver(
            QStringLiteral("La cartella del driver fiscale %1 non esiste: lo scontrino non è stato inviato "
                           "alla stampante fiscale.")
                .arg(QDir::toNativeSeparators(m_driverDir)));

    const auto passed = [this](ClosingStep step) {
        if (m_probe)
            m_probe(step);
    };
    write(DataFile, data);
    passed(ClosingStep::DataFileWritten);
    copyToDriver(DriverDataFile, data);
    passed(ClosingStep::DataFileCopied);
    write(StartFile, start);
    passed(ClosingStep::StartFileWritten);
    copyToDriver(DriverStartFile, start);
    passed(ClosingStep::StartFileCopied);
}

void FileReceiptDriver::write(const QString& fileName, const QByteArray& bytes) const
{
    const QString path = QDir(m_receiptsDir).filePath(fileName);
    QString why;
    if (!replaceAtomically(path, bytes, Durability::Renamed, why))
        throw ReceiptNotHandedOver(QStringLiteral("Impossibile scrivere il file dello scontrino %1: %2")
                                       .arg(QDir::toNativeSeparators(path), why));
}

// The driver gets the same bytes as our copy in the receipts folder.
void FileReceiptDriver::copyToDriver(const QString& driverFile, const QByteArray& bytes) const
{
    QString why;
    if (replaceAtomically(QDir(m_driverDir).filePath(driverFile), bytes, Durability::Synced, why))
        return;
    throw ReceiptNotHandedOver(
        QStringLiteral("Impossibile copiare il file %1 nella cartella del driver fiscale %2 (%3): lo "
                       "scontrino non è stato inviato alla stampante fiscale.")
            .arg(driverFile, QDir::toNativeSeparators(m_driverDir), why));
}

} // namespace carvendo::pos
