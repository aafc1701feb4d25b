#include "einvoice/FatturaPaExport.h"

#include "einvoice/EInvoiceRefusal.h"
#include "einvoice/FatturaPaFiles.h"
#include "einvoice/FatturaPaValidator.h"
#include "einvoice/FatturaPaWriter.h"
#include "einvoice/InvoiceFigures.h"

#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/Paths.h"

#include <QFile>
#include <QSet>

#include <algorithm>

namespace carvendo::einvoice {

namespace {

// Any five letters and digits do for the check: the number is the last thing the file gets.
const QString ProvisionalProgressive = QStringLiteral("00000");

} // namespace

FatturaPaExport::FatturaPaExport(core::Db& db, const core::Paths& paths, const core::CompanyRecord& company,
                                 const FatturaPaValidator& validator)
    : m_db(db), m_paths(paths), m_company(company), m_validator(validator)
{
}

QString FatturaPaExport::replaceQuestion(const QString& invoiceLabel, const QString& fileName)
{
    return QStringLiteral("La %1 è già stata esportata nel file %2. Vuoi sostituirlo con un nuovo file?")
        .arg(QString(invoiceLabel).replace(0, 1, invoiceLabel.left(1).toLower()), fileName);
}

QList<ExportChoice> FatturaPaExport::choose(core::Dialogs& dialogs, const QList<int>& invoiceIds)
{
    QList<ExportChoice> chosen;
    for (const int id : invoiceIds) {
        const QString earlier = m_db.scalar(QStringLiteral("SELECT IFNULL(FilePA, '') FROM fatture "
                                                           "WHERE idFattura = :IDFATTURA"),
                                            {{QStringLiteral("IDFATTURA"), id}})
                                    .toString();
        if (!earlier.isEmpty() &&
            !dialogs.confirm(replaceQuestion(InvoiceReader(m_db, m_company).read(id).label, earlier)))
            continue;
        chosen << ExportChoice{id, earlier};
    }
    return chosen;
}

InvoiceData FatturaPaExport::prepare(int invoiceId) const
{
    InvoiceData invoice = InvoiceReader(m_db, m_company).read(invoiceId);
    m_validator.validate(FatturaPaWriter::write(invoice, InvoiceFigures::of(invoice), ProvisionalProgressive),
                         invoice.label);
    return invoice;
}

QList<ExportedFile> FatturaPaExport::exportInvoices(const QList<ExportChoice>& chosen,
                                                    const ExportProgress& progress)
{
    const int total = 2 * int(chosen.size());
    int done = 0;
    const auto step = [&] {
        if (progress)
            progress(++done, total);
    };
    QList<Prepared> prepared;
    for (const ExportChoice& choice : chosen) {
        prepared << Prepared{prepare(choice.invoiceId), choice.replacing};
        step();
    }
    const QList<ExportedFile> files = writeOut(record(prepared), step);
    if (progress && done < total) // those another workstation exported meanwhile are not written here
        progress(total, total);
    return files;
}

// Locked in the order of their ids, as every workstation locks them, so two exports of the same
// invoices wait for each other instead of deadlocking.
QList<const FatturaPaExport::Prepared*> FatturaPaExport::stillAsChosen(const QList<Prepared>& prepared)
{
    QList<const Prepared*> byId;
    for (const Prepared& one : prepared)
        byId << &one;
    std::sort(byId.begin(), byId.end(),
              [](const Prepared* a, const Prepared* b) { return a->invoice.id < b->invoice.id; });
    QSet<const Prepared*> exportedMeanwhile;
    for (const Prepared* one : byId) {
        const core::Rows rows = m_db.query(QStringLiteral("SELECT IFNULL(FilePA, '') AS FilePA FROM fatture "
                                                          "WHERE idFattura = :IDFATTURA FOR UPDATE"),
                                           {{QStringLiteral("IDFATTURA"), one->invoice.id}});
        if (rows.isEmpty())
            throw EInvoiceRefusal(one->invoice.label, QStringLiteral("la fattura non esiste più"));
        if (rows.first()[u"FilePA"].toString() != one->replacing)
            exportedMeanwhile.insert(one);
    }
    QList<const Prepared*> kept; // in the order chosen: they number in that order
    for (const Prepared& one : prepared)
        if (!exportedMeanwhile.contains(&one))
            kept << &one;
    return kept;
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

// One transaction numbers the invoices and records their files; a failure leaves every number, the
// invoices and the folder as they were.
QList<FatturaPaExport::Recorded> FatturaPaExport::record(const QList<Prepared>& prepared)
{
    FatturaPaFiles store(m_db, m_paths);
    QList<Recorded> recorded;
    core::Transaction transaction(m_db);
    const QList<const Prepared*> kept = stillAsChosen(prepared);
    if (kept.isEmpty())
        return {};
    const qint64 first = takeProgressives(int(kept.size()));
    for (int i = 0; i < kept.size(); ++i) {
        const InvoiceData& invoice = kept[i]->invoice;
        Recorded one;
        one.replacing = kept[i]->replacing;
        one.file.invoiceId = invoice.id;
        one.file.progressive = FatturaPaWriter::progressiveOf(first + i);
        one.file.fileName = FatturaPaWriter::fileName(invoice, one.file.progressive);
        one.file.path = store.pathOf(one.file.fileName);
        m_db.exec(QStringLiteral("UPDATE fatture SET FilePA = :FILE, ProgressivoPA = :PROGRESSIVO, "
                                 "DataExportPA = NOW() WHERE idFattura = :IDFATTURA"),
                  {{QStringLiteral("FILE"), one.file.fileName},
                   {QStringLiteral("PROGRESSIVO"), one.file.progressive},
                   {QStringLiteral("IDFATTURA"), invoice.id}});
        // The checked file with its number: the number changes nothing the checks looked at.
        one.contents = FatturaPaWriter::write(invoice, InvoiceFigures::of(invoice), one.file.progressive);
        one.recordId = store.record(invoice.id, one.file.progressive, one.file.fileName, one.contents);
        recorded << one;
    }
    transaction.commit();
    return recorded;
}

// After the commit, from the bytes recorded. A file that cannot be written keeps its number (it was
// committed) and stays pending for the next export.
QList<ExportedFile> FatturaPaExport::writeOut(const QList<Recorded>& recorded,
                                              const std::function<void()>& step)
{
    FatturaPaFiles store(m_db, m_paths);
    QList<ExportedFile> files;
    QList<qint64> written;
    for (const Recorded& one : recorded) {
        ExportedFile file = one.file;
        file.notWritten = store.write(file.fileName, one.contents);
        if (file.notWritten.isEmpty())
            written << one.recordId;
        if (!one.replacing.isEmpty() && one.replacing != file.fileName)
            QFile::remove(store.pathOf(one.replacing));
        files << file;
        step();
    }
    store.markWritten(written);
    return files;
}

} // namespace carvendo::einvoice
