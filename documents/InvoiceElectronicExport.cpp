#include "documents/InvoiceElectronicExport.h"

#include "einvoice/FatturaPaFiles.h"
#include "einvoice/FatturaPaValidator.h"
#include "messaging/MailAccount.h"
#include "messaging/MailMessage.h"

#include "core/Dialogs.h"
#include "core/Navigator.h"
#include "core/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace carvendo::documents {

InvoiceElectronicExport::InvoiceElectronicExport(core::Db& db, core::Dialogs& dialogs,
                                                 const core::Paths& paths, core::Navigator& navigator,
                                                 core::CompanyRecord company)
    : m_db(db), m_dialogs(dialogs), m_paths(paths), m_navigator(navigator), m_company(std::move(company))
{
}

void InvoiceElectronicExport::runJobsWith(core::JobRunner runner,
                                          std::optional<core::ConnectionSettings> ownConnection)
{
    m_runner = std::move(runner);
    m_ownConnection = std::move(ownConnection);
}

// Only the files in the folder count as exported; those committed and not written are told apart.
QString InvoiceElectronicExport::doneMessage(const QList<einvoice::ExportedFile>& files,
                                             const QString& folder)
{
    const QString where = QDir::toNativeSeparators(folder);
    QStringList written;
    qsizetype pending = 0;
    for (const einvoice::ExportedFile& file : files) {
        if (file.written())
            written << file.fileName;
        else if (!file.notWritten.isEmpty())
            ++pending;
    }
    QStringList lines;
    if (written.size() == 1)
        lines << QStringLiteral("Esportata 1 fattura in %1:\n%2").arg(where, written.first());
    else if (written.size() > 1)
        lines << QStringLiteral("Esportate %1 fatture in %2").arg(written.size()).arg(where);
    if (pending == 1)
        lines << QStringLiteral("1 fattura numerata con il file in attesa di scrittura: sarà scritto alla "
                                "prossima esportazione.");
    else if (pending > 1)
        lines << QStringLiteral("%1 fatture numerate con il file in attesa di scrittura: saranno scritti "
                                "alla prossima esportazione.")
                     .arg(pending);
    return lines.isEmpty() ? QStringLiteral("Nessuna fattura esportata.") : lines.join(u'\n');
}

void InvoiceElectronicExport::writePending(core::Db& db, core::Dialogs& dialogs, const core::Paths& paths)
{
    for (const QString& failure : einvoice::FatturaPaFiles(db, paths).writePending())
        dialogs.warning(failure);
}

QList<einvoice::ExportedFile> InvoiceElectronicExport::exportInvoices(const QList<int>& invoiceIds)
{
    if (invoiceIds.isEmpty())
        return {};
    const QList<einvoice::ExportedFile> files = run(invoiceIds);
    m_dialogs.information(doneMessage(files, einvoice::FatturaPaFiles::folder(m_paths)));
    return files;
}

// The questions first, here on the window thread; the job then exports what was decided.
QList<einvoice::ExportedFile> InvoiceElectronicExport::run(const QList<int>& invoiceIds)
{
    writePending(m_db, m_dialogs, m_paths);
    const QList<einvoice::ExportChoice> chosen =
        einvoice::FatturaPaExport(m_db, m_paths, m_company, einvoice::FatturaPaValidator::shared())
            .choose(m_dialogs, invoiceIds);
    if (chosen.isEmpty())
        return {};
    const QList<einvoice::ExportedFile> files = runChosen(chosen);
    for (const einvoice::ExportedFile& file : files) {
        if (!file.exportedElsewhere.isEmpty())
            m_dialogs.warning(file.exportedElsewhere);
        if (!file.notWritten.isEmpty())
            m_dialogs.warning(file.notWritten);
        if (!file.notRemoved.isEmpty())
            m_dialogs.warning(file.notRemoved);
    }
    return files;
}

QList<einvoice::ExportedFile> InvoiceElectronicExport::runChosen(const QList<einvoice::ExportChoice>& chosen)
{
    if (!m_ownConnection || chosen.size() < backgroundFrom())
        return einvoice::FatturaPaExport(m_db, m_paths, m_company, einvoice::FatturaPaValidator::shared())
            .exportInvoices(chosen);

    QList<einvoice::ExportedFile> files;
    const core::ConnectionSettings own = *m_ownConnection;
    m_runner(QStringLiteral("Esportazione delle fatture elettroniche..."),
             [&](const std::function<void(int)>& progress) {
                 core::Db jobDb(own);
                 jobDb.open();
                 files =
                     einvoice::FatturaPaExport(jobDb, m_paths, m_company,
                                               einvoice::FatturaPaValidator::shared())
                         .exportInvoices(chosen, [&](int done, int total) { progress(done * 100 / total); });
             });
    return files;
}

bool InvoiceElectronicExport::sendByPec(int invoiceId, const QString& caller)
{
    if (invoiceId <= 0)
        return false;
    // One address for the whole shop, kept with the company's electronic invoice data.
    const QString address =
        m_db.scalar(QStringLiteral("SELECT PecSdI FROM fatturapa_configurazione ORDER BY id LIMIT 1"))
            .toString()
            .trimmed();
    if (address.isEmpty()) {
        m_dialogs.warning(missingPecMessage());
        return false;
    }
    einvoice::FatturaPaFiles store(m_db, m_paths);
    QString path = store.writtenFileOf(invoiceId);
    if (path.isEmpty()) {
        const QList<einvoice::ExportedFile> files = run({invoiceId});
        if (files.isEmpty() || !files.first().notWritten.isEmpty()) // kept, or told it is not written
            return false;
        // Exported by another workstation meanwhile: its file goes, written here when it is not yet.
        path = files.first().written() ? files.first().path : store.writtenFileOf(invoiceId);
    }

    const messaging::MailAccount account = messaging::loadMailAccount(m_db);
    static const QRegularExpression lineBreak(QStringLiteral("\r?\n"));
    messaging::MailMessage message;
    message.from = account.mittente;
    message.to = address;
    message.subject = QStringLiteral("Fattura elettronica ") + QFileInfo(path).fileName();
    message.body = account.firma.split(lineBreak);
    message.attachment = path;
    m_navigator.open(mailWindow(), {}, caller, message.toValues());
    return true;
}

} // namespace carvendo::documents
