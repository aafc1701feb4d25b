#pragma once

#include "pos/ClosingStep.h"
#include "pos/ReceiptPrinter.h"

#include <QString>

namespace carvendo::pos {

// The fiscal driver that reads two files from its folder: the receipt lines (SR_Dati.001) and a
// start file (SR_Start.001) that tells it a receipt is ready. Both are written in Windows-1252 with
// CR LF after every line, first into our receipts folder (scontrini), then copied into the
// driver's folder. Every file is replaced by a rename of a complete temporary file in the same
// folder, and the data file is in place before the start file, so the driver never reads a
// half-written receipt.
class FileReceiptDriver : public ReceiptPrinter
{
public:
    // receiptsDir: Paths::receiptsDir(), made when missing; driverDir: Paths::fiscalDriverDir(),
    // which must exist (it is the driver's own).
    FileReceiptDriver(QString receiptsDir, QString driverDir);

    void handOver(const Receipt& receipt) override;
    void setProbe(ClosingProbe probe) { m_probe = std::move(probe); }

    static QByteArray fileBytes(const QStringList& lines);

private:
    void write(const QString& fileName, const QByteArray& bytes) const;
    void copyToDriver(const QString& driverFile, const QByteArray& bytes) const;

    QString m_receiptsDir;
    QString m_driverDir;
    ClosingProbe m_probe;
};

} // namespace carvendo::pos
