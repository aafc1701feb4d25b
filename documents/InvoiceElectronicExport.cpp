#include "documents/InvoiceElectronicExport.h"

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

namespace {

// The schema is parsed once for the whole program: every export checks against the same one.
const einvoice::FatturaPaValidator& validator()
{
    static const einvoice::FatturaPaValidator loaded;
    return loaded;
}

// The person a background export talks to: nobody. It is started only for invoices none of which was
// exported before; one that another workstation exported meanwhile keeps that file.
class NobodyAsked final : public core::Dialogs
{
public:
    bool confirm(const QString&, core::ConfirmButtons, const QString&) override { return false; }
    std::optional<QString> askText(const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    std::optional<int> chooseOption(const QString&, const QString&, const QStringList&) override
    {
        return std::nullopt;
    }
    std::optional<QString> chooseFile(const QString&, const QString&, core::FileMode, const QString&) override
    {
        return std::nullopt;
    }
    void beep() override {}

protected:
    void showMessage(core::MessageKind, const QString&, const QString&) override {}
};

} // namespace

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

QString InvoiceElectronicExport::doneMessage(const QList<einvoice::ExportedFile>& files,
                                             const QString& folder)
{
    const QString where = QDir::toNativeSeparators(folder);
    if (files.isEmpty())
        return QStringLiteral("Nessuna fattura esportata.");
    if (files.size() == 1)
        return QStringLiteral("Esportata 1 fattura in %1:\n%2").arg(where, files.first().fileName);
    return QStringLiteral("Esportate %1 fatture in %2").arg(files.size()).arg(where);
}

QList<einvoice::ExportedFile> InvoiceElectronicExport::exportInvoices(const QList<int>& invoiceIds)
{
    if (invoiceIds.isEmpty())
        return {};
    const QList<einvoice::ExportedFile> files = run(invoiceIds);
    m_dialogs.information(doneMessage(files, einvoice::FatturaPaExport::folder(m_paths)));
    return files;
}

QList<einvoice::ExportedFile> InvoiceElectronicExport::run(const QList<int>& invoiceIds)
{
    if (!m_ownConnection || invoiceIds.size() < backgroundFrom() || anyExportedBefore(invoiceIds))
        return einvoice::FatturaPaExport(m_db, m_dialogs, m_paths, m_company, validator())
            .exportInvoices(invoiceIds);

    QList<einvoice::ExportedFile> files;
    const core::ConnectionSettings own = *m_ownConnection;
    m_runner(QStringLiteral("Esportazione delle fatture elettroniche..."),
             [&](const std::function<void(int)>& progress) {
                 core::Db jobDb(own);
                 jobDb.open();
                 NobodyAsked nobody;
                 files = einvoice::FatturaPaExport(jobDb, nobody, m_paths, m_company, validator())
                             .exportInvoices(invoiceIds);
                 progress(100);
             });
    return files;
}

bool InvoiceElectronicExport::anyExportedBefore(const QList<int>& invoiceIds)
{
    QStringList placeholders;
    core::Params params;
    for (int i = 0; i < invoiceIds.size(); ++i) {
        placeholders << QStringLiteral(":ID%1").arg(i);
        params.insert(QStringLiteral("ID%1").arg(i), invoiceIds[i]);
    }
    return m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM fatture WHERE IFNULL(FilePA, '') <> '' AND "
                                      "idFattura IN (%1)")
                           .arg(placeholders.join(QStringLiteral(", "))),
                       params)
               .toInt() > 0;
}

QString InvoiceElectronicExport::exportedPath(int invoiceId)
{
    const QString fileName = m_db.scalar(QStringLiteral("SELECT FilePA FROM fatture WHERE idFattura = :ID"),
                                         {{QStringLiteral("ID"), invoiceId}})
                                 .toString()
                                 .trimmed();
    if (fileName.isEmpty())
        return {};
    const QString path = QDir(einvoice::FatturaPaExport::folder(m_paths)).filePath(fileName);
    return QFileInfo::exists(path) ? path : QString();
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
    QString path = exportedPath(invoiceId);
    if (path.isEmpty()) {
        const QList<einvoice::ExportedFile> files = run({invoiceId});
        if (files.isEmpty())
            return false;
        path = files.first().path;
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
