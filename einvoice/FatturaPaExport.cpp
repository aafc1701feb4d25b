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

QString folderOf(const core::Paths& paths)
{
    return paths.documentsDir(core::DocumentFolder::FattureElettroniche);
}

} // namespace

FatturaPaExport::FatturaPaExport(core::Db& db, core::Dialogs& dialogs, const core::Paths& paths,
                                 const core::CompanyRecord& company, const FatturaPaValidator& validator)
    : m_db(db), m_dialogs(dialogs), m_paths(paths), m_company(company), m_validator(validator)
{
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
    return write(prepare(invoiceId));
}

QList<ExportedFile> FatturaPaExport::exportInvoices(const QList<int>& invoiceIds)
{
    QList<InvoiceData> prepared;
    for (const int id : invoiceIds)
        prepared << prepare(id);
    QList<ExportedFile> exported;
    for (const InvoiceData& one : prepared) {
        if (auto file = write(one))
            exported << *file;
    }
    return exported;
}

// The counter row stays locked by the update until the transaction ends.
QString FatturaPaExport::takeProgressive()
{
    if (m_db.exec(QStringLiteral("UPDATE fatturapa_configurazione SET ProssimoProgressivo = "
                                 "GREATEST(IFNULL(ProssimoProgressivo, 1), 1) + 1 ORDER BY id LIMIT 1")) == 0)
        throw core::Error(QStringLiteral("Manca la configurazione della fattura elettronica: aggiornare il "
                                         "database dell'azienda."));
    const qint64 taken =
        m_db.scalar(QStringLiteral("SELECT ProssimoProgressivo - 1 FROM fatturapa_configurazione ORDER BY id "
                                   "LIMIT 1"))
            .toInt64();
    const QString progressive = FatturaPaWriter::progressiveOf(taken);
    if (progressive.size() > 5)
        throw core::Error(
            QStringLiteral("I numeri di trasmissione delle fatture elettroniche sono esauriti."));
    return progressive;
}

std::optional<ExportedFile> FatturaPaExport::write(const InvoiceData& invoice)
{
    const QString folder = core::Paths::ensureDir(folderOf(m_paths));
    // An invoice exported before may have gone out already: the operator decides, even when its file
    // is no longer in the folder.
    const QString earlier =
        invoice.exportedFile.isEmpty() ? QString() : QDir(folder).filePath(invoice.exportedFile);
    if (!earlier.isEmpty() && !m_dialogs.confirm(replaceQuestion(invoice.label, invoice.exportedFile)))
        return std::nullopt;

    core::Transaction transaction(m_db);
    ExportedFile file;
    file.invoiceId = invoice.id;
    file.progressive = takeProgressive();
    file.fileName = FatturaPaWriter::fileName(invoice, file.progressive);
    file.path = QDir(folder).filePath(file.fileName);
    if (m_db.exec(QStringLiteral("UPDATE fatture SET FilePA = :FILE, ProgressivoPA = :PROGRESSIVO, "
                                 "DataExportPA = NOW() WHERE idFattura = :IDFATTURA"),
                  {{QStringLiteral("FILE"), file.fileName},
                   {QStringLiteral("PROGRESSIVO"), file.progressive},
                   {QStringLiteral("IDFATTURA"), invoice.id}}) == 0)
        throw EInvoiceRefusal(invoice.label, QStringLiteral("la fattura non esiste più"));

    // The checked file with its number: the number changes nothing the checks looked at.
    const QByteArray xml = FatturaPaWriter::write(invoice, InvoiceFigures::of(invoice), file.progressive);
    QSaveFile out(file.path);
    if (!out.open(QIODevice::WriteOnly) || out.write(xml) != xml.size() || !out.commit())
        throw core::Error(QStringLiteral("Impossibile scrivere il file %1: %2")
                              .arg(QDir::toNativeSeparators(file.path), out.errorString()));
    try {
        transaction.commit();
    } catch (...) {
        QFile::remove(file.path); // its number was given back: the file must not go out
        throw;
    }
    if (!earlier.isEmpty() && earlier != file.path)
        QFile::remove(earlier);
    return file;
}

} // namespace carvendo::einvoice
