#pragma once

#include "einvoice/FatturaPaExport.h"

#include "core/CompanyDirectory.h"
#include "core/Db.h"
#include "core/LongJob.h"

#include <QList>
#include <QString>

#include <optional>

namespace carvendo::core {
class Dialogs;
class Navigator;
class Paths;
} // namespace carvendo::core

namespace carvendo::documents {

// The electronic invoice commands of the invoice list and of the invoice window: the FatturaPA files
// of the chosen invoices written to documenti/FattureElettroniche, and one of them sent to the
// exchange system by PEC through the mail window. Every command first writes the files an earlier
// export committed and could not write. The operator is asked about replacing earlier files first;
// then many invoices go behind the progress bar on a connection of the job's own.
class InvoiceElectronicExport
{
public:
    InvoiceElectronicExport(core::Db& db, core::Dialogs& dialogs, const core::Paths& paths,
                            core::Navigator& navigator, core::CompanyRecord company);

    // ownConnection: where a background export works; without it every export runs in place.
    void runJobsWith(core::JobRunner runner, std::optional<core::ConnectionSettings> ownConnection);
    // From how many invoices the export goes behind the progress bar.
    static int backgroundFrom() { return 20; }

    static QString mailWindow() { return QStringLiteral("TMailForm"); }
    static QString missingPecMessage()
    {
        return QStringLiteral("Indicare nella configurazione, pagina \"Fatturazione elettronica\", "
                              "l'indirizzo PEC del Sistema di Interscambio a cui inviare le fatture "
                              "elettroniche.");
    }
    static QString doneMessage(const QList<einvoice::ExportedFile>& files, const QString& folder);

    // The files committed and not written yet, written now; the operator is told of those that still
    // cannot be.
    static void writePending(core::Db& db, core::Dialogs& dialogs, const core::Paths& paths);

    // Every invoice is checked first: the first refused one is thrown (EInvoiceRefusal) and nothing is
    // recorded. Then the operator is told what was exported, what waits to be written and what another
    // workstation exported meanwhile. Returns the files, those not written here included.
    QList<einvoice::ExportedFile> exportInvoices(const QList<int>& invoiceIds);
    // "Invia tramite PEC": the invoice's file (exported first when it has none in the folder nor
    // recorded), attached to the mail window addressed to the exchange system. False when there is
    // nothing to send.
    bool sendByPec(int invoiceId, const QString& caller);

private:
    QList<einvoice::ExportedFile> run(const QList<int>& invoiceIds);
    QList<einvoice::ExportedFile> runChosen(const QList<einvoice::ExportChoice>& chosen);

    core::Db& m_db;
    core::Dialogs& m_dialogs;
    const core::Paths& m_paths;
    core::Navigator& m_navigator;
    core::CompanyRecord m_company;
    core::JobRunner m_runner = core::runHere;
    std::optional<core::ConnectionSettings> m_ownConnection;
};

} // namespace carvendo::documents
