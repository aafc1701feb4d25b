#pragma once

#include "accounts/Instalments.h"
#include "core/CompanyHeading.h"
#include "core/Navigator.h"
#include "core/ReportRequest.h"
#include "documents/InvoiceFields.h"
#include "documents/InvoiceLists.h"
#include "documents/InvoicePrint.h"
#include "documents/ManualLineEntry.h"
#include "documents/QuantityEntry.h"
#include "documents/SalesDocument.h"

#include <QObject>
#include <QString>

#include <memory>

namespace carvendo::core {
class Db;
class Dialogs;
class Paths;
class ReportOutput;
class Session;
} // namespace carvendo::core

namespace carvendo::stock {
class ScaricoTC;
} // namespace carvendo::stock

namespace carvendo::documents {

class InvoiceElectronicExport;

// The logic of TFatturaImmediata, the immediate invoice, over the one sales-document model. A new
// invoice exists from the moment the window opens (its rows move stock as they are added) and is
// numbered by "Salva"; "Annulla" gives everything back. The header fields typed in the window are
// written by "Salva" in the same transaction as the number, the cash book and the caller's hand-over.
class FatturaImmediata : public QObject
{
    Q_OBJECT

public:
    FatturaImmediata(core::Db& db, const core::Session& session, const core::Paths& paths,
                     core::Dialogs& dialogs, core::Navigator& navigator, core::ReportOutput& reports,
                     QObject* parent = nullptr);

    static QString windowName() { return QStringLiteral("TFatturaImmediata"); }
    static QString repairCaller() { return QStringLiteral("Scheda Cat"); }
    static QString suspendedCaller() { return QStringLiteral("Sospeso"); }
    static QString leaveQuestion()
    {
        return QStringLiteral(
            "Eventuali modifiche effettuate non saranno salvate. Vuoi uscire senza salvare ?");
    }
    static QString unpaidQuestion()
    {
        return QStringLiteral("Attenzione, questo cliente ha un sospeso. Vuoi visualizzare l'elenco adesso?");
    }
    static QString dropboxMissingMessage()
    {
        return QStringLiteral("Installare DropBox e verificare la corretta impostazione");
    }

    // Key null or values "nuovo": a new invoice; else the invoice with that key. The caller's name and
    // values ("idScheda" for a repair ticket) are kept for the save. False when the invoice is gone.
    bool open(const core::NavigationRequest& request);
    bool isNew() const { return m_new; }
    QString title() const;
    QString exitCaption() const { return m_new ? QStringLiteral("Annulla") : QStringLiteral("Chiudi"); }
    SalesDocument& document() { return m_document; }
    const SalesDocument& document() const { return m_document; }
    const InvoiceFields& fields() const { return m_fields; }
    // The window's header fields as typed; written by "Salva".
    void setFields(const InvoiceFields& fields);
    InvoiceLists& lists() { return m_lists; }
    bool addCarrier();
    bool addReason();

    // Customer: the picker (on the typed text), a new customer with the next code, a destination.
    // Setting one copies it into the header and asks about its unpaid sales.
    void setCustomer(int customerId);
    bool chooseCustomer(const QString& typed = {});
    bool createCustomer(const QString& name);
    bool chooseDestination();

    // Rows. Each way of choosing an item gives the quantity dialog's logic, or nothing.
    std::unique_ptr<QuantityEntry> entryFromPicker();
    std::unique_ptr<QuantityEntry> entryForNewItem();
    std::unique_ptr<QuantityEntry> entryFor(int itemId);
    // The barcode/serial field: a serial or a repeated item is added at once; a new item gives its
    // quantity dialog; an unknown code may create the item.
    std::unique_ptr<QuantityEntry> scan(const QString& text);
    // The quantity dialog confirmed: the row (or the chosen serials, all or none) added. False when
    // nothing was.
    bool confirmEntry(QuantityEntry& entry, const QuantityEntryValues& values);
    // An item sold by size and colour (entry.bySize()) is entered on its grid, TScaricoTC, instead of
    // the quantity dialog; its Conferma records the sizes and the item's row in one transaction.
    std::unique_ptr<stock::ScaricoTC> sizesFor(const QuantityEntry& entry);
    bool confirmSizes(stock::ScaricoTC& sizes);
    bool addManualLine(const ManualLine& line);
    // What a manual line at 0% can be sold under.
    QList<ZeroRateCode> zeroRateCodes() const { return documents::zeroRateCodes(m_db); }
    bool addService(); // a line from the works list
    bool removeRow(int rowIndex);
    bool editRow(int rowIndex, int quantity, int discountPercent, core::Money grossPrice);
    bool applyDiscount();
    bool removeDiscount();
    bool chooseWithholding();

    // Payment: a new term on its card ("Crea nuovo"), "Assegna rate" (with the fields typed so far) and
    // "A scadenzario".
    void createPaymentTerm();
    bool assignInstalments();
    bool schedule();
    QList<accounts::Instalment> instalments();

    // "Salva": true when saved; the window then closes.
    bool save();
    // "Annulla" discards the new invoice; "Chiudi" asks. True when the window may close.
    bool leave();

    void setCompanyHeading(core::CompanyHeading heading) { m_heading = std::move(heading); }
    void preview(InvoicePrint variant);
    void print(InvoicePrint variant);
    // The PDF's path, under documenti/Fatture.
    QString createPdf();
    bool sendMail();
    bool sendToDropbox();
    static QString exportUnsavedMessage()
    {
        return QStringLiteral("Salvare la fattura prima di esportarla.");
    }
    // "Fattura elettronica" and "Invia tramite PEC" of the saved invoice.
    bool exportElectronic(InvoiceElectronicExport& exporter);
    bool sendByPec(InvoiceElectronicExport& exporter);

signals:
    void changed();

private:
    bool requireCustomer();
    bool requireSaved();
    bool requireSavedForExport();
    core::ReportRequest request(InvoicePrint variant);

    core::Db& m_db;
    const core::Session& m_session;
    const core::Paths& m_paths;
    core::Dialogs& m_dialogs;
    core::Navigator& m_navigator;
    core::ReportOutput& m_reports;
    SalesDocument m_document;
    InvoiceLists m_lists;
    bool m_new = true;
    QString m_caller;
    int m_repairTicket = 0;
    InvoiceFields m_opened; // as read when the window opened or last saved
    InvoiceFields m_fields; // as typed
    core::CompanyHeading m_heading;
};

} // namespace carvendo::documents
