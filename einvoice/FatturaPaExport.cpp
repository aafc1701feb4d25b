#include "einvoice/FatturaPaExport.h"

#include "einvoice/EInvoiceRefusal.h"
#include "einvoice/FatturaPaValidator.h"
#include "einvoice/FatturaPaWriter.h"
#include "einvoice/InvoiceFigures.h"

#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/Paths.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace carvendo::einvoice {

namespace {

// Any five letters and digits do for the check: the number is the last thing the file gets.
const QString ProvisionalProgressive = QStringLiteral("00000");

} // namespace

FatturaPaExport::FatturaPaExport(core::Db& db, core::Dialogs& dialogs, const core::Paths& paths,
                                 const core::CompanyRecord& company, const FatturaPaValidator& validator)
    : m_db(db), m_dialogs(dialogs), m_paths(paths), m_company(company), m_validator(validator)
{
}

QString FatturaPaExport::folder(const core::Paths& paths)
{
    return paths.documentsDir(core::DocumentFolder::FattureElettroniche);
}

QString FatturaPaExport::replaceQuestion(const QString& invoiceLabel, const QString& fileName)
{
    return QStringLiteral("La %1 è già stata esportata nel file %2. Vuoi sostituirlo con un nuovo file?")
        .arg(QString(invoiceLabel).replace(0, 1, invoiceLabel.left(1).toLower()), fileName);
}

InvoiceData FatturaPaExport::prepare(int invoiceId) const
{
    InvoiceData invoice = InvoiceReader(m_db, m_company).read(invoiceId);
    m_validator.validate(FatturaPaWriter::write(invoice, InvoiceFigures::of(invoice), ProvisionalProgressive),
                         invoice.label);
    return invoice;
}

std::optional<ExportedFile> FatturaPaExport::exportInvoice(int invoiceId)
{
    const QList<ExportedFile> files = write({prepare(invoiceId)});
    if (files.isEmpty())
        return std::nullopt;
    return files.first();
}

QList<ExportedFile> FatturaPaExport::exportInvoices(const QList<int>& invoiceIds)
{
    QList<InvoiceData> prepared;
    for (const int id : invoiceIds)
        prepared << prepare(id);
    return write(prepared);
}

// The counter row stays locked by the update until the transaction ends. The first of `count`
// consecutive numbers.
qint64 FatturaPaExport::takeProgressives(int count)
{
    if (m_db.exec(QStringLiteral("UPDATE fatturapa_configurazione SET ProssimoProgressivo = "
                                 "GREATEST(IFNULL(ProssimoProgressivo, 1), 1) + :QUANTI ORDER BY id LIMIT 1"),
                  {{QStringLiteral("QUANTI"), count}}) == 0)
        throw core::Error(QStringLiteral("Manca la configurazione della fattura elettronica: aggiornare il "
                                         "database dell'azienda."));
    const qint64 first = m_db.scalar(QStringLiteral("SELECT ProssimoProgressivo - :QUANTI FROM "
                                                    "fatturapa_configurazione ORDER BY id LIMIT 1"),
                                     {{QStringLiteral("QUANTI"), count}})
                             .toInt64();
    if (FatturaPaWriter::progressiveOf(first + count - 1).size() > 5)
        throw core::Error(
            QStringLiteral("I numeri di trasmissione delle fatture elettroniche sono esauriti."));
    return first;
}

// The files of one command in one transaction: their numbers taken at once (a second workstation
// exporting meanwhile waits for the commit), each recorded on its invoice and written atomically. A
// failure gives every number back and leaves none of the files.
QList<ExportedFile> FatturaPaExport::write(const QList<InvoiceData>& invoices)
{
    const QString target = core::Paths::ensureDir(folder(m_paths));
    // An invoice exported before may have gone out already: the operator decides, even when its file
    // is no longer in the folder.
    QList<const InvoiceData*> chosen;
    QStringList earlier;
    for (const InvoiceData& invoice : invoices) {
        const QString previous =
            invoice.exportedFile.isEmpty() ? QString() : QDir(target).filePath(invoice.exportedFile);
        if (!previous.isEmpty() && !m_dialogs.confirm(replaceQuestion(invoice.label, invoice.exportedFile)))
            continue;
        chosen << &invoice;
        earlier << previous;
    }
    if (chosen.isEmpty())
        return {};

    core::Transaction transaction(m_db);
    const qint64 first = takeProgressives(int(chosen.size()));
    QList<ExportedFile> files;
    try {
        for (int i = 0; i < chosen.size(); ++i) {
            const InvoiceData& invoice = *chosen[i];
            ExportedFile file;
            file.invoiceId = invoice.id;
            file.progressive = FatturaPaWriter::progressiveOf(first + i);
            file.fileName = FatturaPaWriter::fileName(invoice, file.progressive);
            file.path = QDir(target).filePath(file.fileName);
            if (m_db.exec(QStringLiteral("UPDATE fatture SET FilePA = :FILE, ProgressivoPA = :PROGRESSIVO, "
                                         "DataExportPA = NOW() WHERE idFattura = :IDFATTURA"),
                          {{QStringLiteral("FILE"), file.fileName},
                           {QStringLiteral("PROGRESSIVO"), file.progressive},
                           {QStringLiteral("IDFATTURA"), invoice.id}}) == 0)
                throw EInvoiceRefusal(invoice.label, QStringLiteral("la fattura non esiste più"));

            // The checked file with its number: the number changes nothing the checks looked at.
            const QByteArray xml =
                FatturaPaWriter::write(invoice, InvoiceFigures::of(invoice), file.progressive);
            QSaveFile out(file.path);
            if (!out.open(QIODevice::WriteOnly) || out.write(xml) != xml.size() || !out.commit())
                throw core::Error(QStringLiteral("Impossibile scrivere il file %1: %2")
                                      .arg(QDir::toNativeSeparators(file.path), out.errorString()));
            files << file;
        }
        transaction.commit();
    } catch (...) {
        for (const ExportedFile& file : files) // their numbers were given back: they must not go out
            QFile::remove(file.path);
        throw;
    }
    for (int i = 0; i < files.size(); ++i)
        if (!earlier[i].isEmpty() && earlier[i] != files[i].path)
            QFile::remove(earlier[i]);
    return files;
}

} // namespace carvendo::einvoice
