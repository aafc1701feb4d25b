#pragma once

#include "documents/InvoicePrint.h"

#include "core/CompanyHeading.h"
#include "core/PagedRows.h"
#include "core/Rows.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

namespace carvendo::core {
class Db;
class Dialogs;
class Navigator;
class ReportOutput;
class Session;
} // namespace carvendo::core

namespace carvendo::documents {

class InvoiceElectronicExport;

// What the list of invoices is narrowed to; an empty field narrows nothing.
struct InvoiceFilter
{
    QString number{};   // the invoice number
    QString customer{}; // the customer's name starts with it
    std::optional<int> year{};
    std::optional<QDate> from{};
    std::optional<QDate> to{};
    QString series{}; // `Suffisso`
};

// The logic of TFatture, the list of immediate invoices: searches, new, modify, delete and the
// printed variants of the selected invoice. The list is read a page at a time, newest first, with
// only the columns it shows, so it stays quick on a hundred thousand invoices; after a command it is
// read again as far as it had been loaded.
class Fatture
{
public:
    Fatture(core::Db& db, const core::Session& session, core::Dialogs& dialogs, core::Navigator& navigator,
            core::ReportOutput& reports);

    static QString windowName() { return QStringLiteral("TFatture"); }
    static QString invoiceWindow() { return QStringLiteral("TFatturaImmediata"); }
    static int pageSize() { return 200; }

    // The series the search offers (`suffissi_doc`).
    QStringList series() const;
    // The first page of the invoices the filter lets through.
    void search(const InvoiceFilter& filter);
    // The same filter again, as many invoices as were shown.
    void refresh();
    // The next page, appended; false when there was none.
    bool loadMore();
    bool hasMore() const { return m_pages.hasMore(); }
    const core::Rows& rows() const { return m_pages.rows(); }

    // "Nuova": the invoice window on a new invoice.
    void newInvoice();
    // "Modifica" and double-click.
    void modify(int idFattura);
    // "Elimina": privilege, question, then the invoice undone in one transaction.
    bool remove(int idFattura);
    bool print(int idFattura, InvoicePrint variant);
    // "Fattura elettronica": the files of the selected invoices; the list then shows them.
    void exportElectronic(InvoiceElectronicExport& exporter, const QList<int>& idFatture);
    // "Invia tramite PEC" of the selected invoice.
    bool sendByPec(InvoiceElectronicExport& exporter, int idFattura);
    // The shop's heading on what the list prints.
    void setCompanyHeading(core::CompanyHeading heading) { m_heading = std::move(heading); }

private:
    // At most limit invoices after the given one, or from the newest.
    core::Rows page(const std::optional<core::Row>& after, int limit) const;

    core::Db& m_db;
    const core::Session& m_session;
    core::Dialogs& m_dialogs;
    core::Navigator& m_navigator;
    core::ReportOutput& m_reports;
    core::CompanyHeading m_heading;
    InvoiceFilter m_filter;
    core::PagedRows m_pages{pageSize()};
};

} // namespace carvendo::documents
