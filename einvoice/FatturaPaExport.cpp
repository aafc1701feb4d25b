#include "einvoice/FatturaPaExport.h"

#include "einvoice/FatturaPaFiles.h"
#include "einvoice/FatturaPaValidator.h"
#include "einvoice/FatturaPaWriter.h"
#include "einvoice/InvoiceFigures.h"

#include "core/BoundList.h"
#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/Error.h"
#include "core/Paths.h"

#include <QHash>

#include <algorithm>

namespace carvendo::einvoice {

namespace {

QString labelOf(const core::Row& row)
{
    return invoiceLabel(row[u"NumDoc"].toString(), row[u"Suffisso"].toString(), row[u"Anno"].toString());
}

// "fattura 7/2026", for the middle of a sentence.
QString inSentence(const QString& invoiceLabel)
{
    return QString(invoiceLabel).replace(0, 1, invoiceLabel.left(1).toLower());
}

} // namespace

FatturaPaExport::FatturaPaExport(core::Db& db, const core::Paths& paths, const core::CompanyRecord& company,
                                 const FatturaPaValidator& validator)
    : m_db(db), m_paths(paths), m_company(company), m_validator(validator)
{
}

QString FatturaPaExport::replaceQuestion(const QString& invoiceLabel, const QString& fileName)
{
    return QStringLiteral("La %1 è già stata esportata nel file %2. Vuoi sostituirlo con un nuovo file?")
        .arg(inSentence(invoiceLabel), fileName);
}

QString FatturaPaExport::goneMessage(const QString& invoiceLabel)
{
    return QStringLiteral("La %1 non esiste più: è stata eliminata.")
        .arg(invoiceLabel.isEmpty() ? QStringLiteral("fattura scelta") : inSentence(invoiceLabel));
}

QString FatturaPaExport::exportedElsewhereMessage(const QString& invoiceLabel, const QString& fileName)
{
    return QStringLiteral("La %1 è stata esportata da un'altra postazione nel file %2: non è stata "
                          "esportata di nuovo.")
        .arg(inSentence(invoiceLabel), fileName);
}

// Slices of ascending ids, each locked in that order: the whole list is locked in the order of its ids.
QHash<int, core::Row> FatturaPaExport::invoicesOf(const QList<int>& invoiceIds, bool lock)
{
    QList<int> ascending = invoiceIds;
    std::sort(ascending.begin(), ascending.end());
    ascending.erase(std::unique(ascending.begin(), ascending.end()), ascending.end());
    QHash<int, core::Row> byId;
    core::forEachSlice(QStringLiteral("ID"), QVariantList(ascending.begin(), ascending.end()),
                       [&](const core::BoundList& slice) {
                           const core::Rows rows = m_db.query(
                               QStringLiteral("SELECT idFattura, NumDoc, Suffisso, Anno, IFNULL(FilePA, '') "
                                              "AS FilePA FROM fatture WHERE idFattura IN (%1) ORDER BY "
                                              "idFattura%2")
                                   .arg(slice.placeholders, lock ? QStringLiteral(" FOR UPDATE") : QString()),
                               slice.params);
                           for (const core::Row row : rows)
                               byId.insert(row[u"idFattura"].toInt(), row);
                       });
    return byId;
}

QList<ExportChoice> FatturaPaExport::choose(core::Dialogs& dialogs, const QList<int>& invoiceIds)
{
    if (invoiceIds.isEmpty())
        return {};
    const QHash<int, core::Row> byId = invoicesOf(invoiceIds, false);
    QList<ExportChoice> chosen;
    qsizetype gone = 0;
    for (const int id : invoiceIds) {
        const auto found = byId.constFind(id);
        if (found == byId.constEnd()) {
            ++gone;
            continue;
        }
        const QString earlier = (*found)[u"FilePA"].toString();
        if (!earlier.isEmpty() && !dialogs.confirm(replaceQuestion(labelOf(*found), earlier)))
            continue;
        chosen << ExportChoice{id, earlier, labelOf(*found)};
    }
    // Its number went with it: the operator is told how many of the chosen ones are gone.
    if (gone == 1 && invoiceIds.size() == 1)
        dialogs.warning(goneMessage({}));
    else if (gone == 1)
        dialogs.warning(QStringLiteral("Una delle fatture scelte non esiste più: è stata eliminata."));
    else if (gone > 1)
        dialogs.warning(
            QStringLiteral("%1 delle fatture scelte non esistono più: sono state eliminate.").arg(gone));
    return chosen;
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
    QList<ExportedFile> exportedElsewhere;
    QList<ExportedFile> files = writeOut(record(chosen, exportedElsewhere, step), step);
    files << exportedElsewhere;
    if (progress && done < total) // those another workstation exported meanwhile are not written here
        progress(total, total);
    return files;
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

// One transaction locks the invoices, reads and checks them as they now are, numbers them and records
// their files; a failure or a refused invoice leaves every number, the invoices and the folder as they
// were. The invoices are locked in the order of their ids, as every workstation locks them, so two
// exports of the same invoices wait for each other instead of deadlocking.
QList<FatturaPaExport::Recorded> FatturaPaExport::record(const QList<ExportChoice>& chosen,
                                                         QList<ExportedFile>& exportedElsewhere,
                                                         const std::function<void()>& step)
{
    if (chosen.isEmpty())
        return {};
    FatturaPaFiles store(m_db, m_paths);
    core::Transaction transaction(m_db);
    QList<int> ids;
    for (const ExportChoice& choice : chosen)
        ids << choice.invoiceId;
    const QHash<int, core::Row> locked = invoicesOf(ids, true);

    QList<ExportChoice> kept; // in the order chosen: they number in that order
    for (const ExportChoice& choice : chosen) {
        const auto found = locked.constFind(choice.invoiceId);
        if (found == locked.constEnd())
            throw core::Error(goneMessage(choice.label), core::Error::Kind::Refusal);
        const QString current = (*found)[u"FilePA"].toString();
        if (current != choice.replacing) {
            ExportedFile theirs;
            theirs.invoiceId = choice.invoiceId;
            theirs.fileName = current;
            theirs.path = store.pathOf(current);
            theirs.exportedElsewhere = exportedElsewhereMessage(labelOf(*found), current);
            exportedElsewhere << theirs;
            continue;
        }
        kept << choice;
    }
    if (kept.isEmpty())
        return {};

    // Numbered first: a refused invoice rolls the counter back with everything else.
    const qint64 first = takeProgressives(int(kept.size()));
    QList<Recorded> recorded;
    for (int i = 0; i < kept.size(); ++i) {
        const InvoiceData invoice = InvoiceReader(m_db, m_company).read(kept[i].invoiceId);
        Recorded one;
        one.file.invoiceId = invoice.id;
        one.file.progressive = FatturaPaWriter::progressiveOf(first + i);
        one.file.fileName = FatturaPaWriter::fileName(invoice, one.file.progressive);
        one.file.path = store.pathOf(one.file.fileName);
        one.contents = FatturaPaWriter::write(invoice, InvoiceFigures::of(invoice), one.file.progressive);
        m_validator.validate(one.contents, invoice.label);
        m_db.exec(QStringLiteral("UPDATE fatture SET FilePA = :FILE, ProgressivoPA = :PROGRESSIVO, "
                                 "DataExportPA = NOW() WHERE idFattura = :IDFATTURA"),
                  {{QStringLiteral("FILE"), one.file.fileName},
                   {QStringLiteral("PROGRESSIVO"), one.file.progressive},
                   {QStringLiteral("IDFATTURA"), invoice.id}});
        one.recordId = store.record(invoice.id, one.file.progressive, one.file.fileName, one.contents,
                                    kept[i].replacing);
        recorded << one;
        step();
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
        files << file;
        step();
    }
    const QMap<qint64, QString> notRemoved = store.markWritten(written);
    for (qsizetype i = 0; i < files.size(); ++i)
        files[i].notRemoved = notRemoved.value(recorded[i].recordId);
    return files;
}

} // namespace carvendo::einvoice
