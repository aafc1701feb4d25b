#include "documents/Fatture.h"

#include "documents/DocumentKind.h"
#include "documents/DocumentPrint.h"
#include "documents/InvoiceElectronicExport.h"
#include "documents/InvoiceLists.h"
#include "documents/SalesDocument.h"

#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/Navigator.h"
#include "core/ReportOutput.h"
#include "core/Session.h"

#include <functional>

namespace carvendo::documents {

namespace {

const DocumentKind& invoice()
{
    return DocumentKind::of(DocumentKindId::FatturaImmediata);
}

} // namespace

Fatture::Fatture(core::Db& db, const core::Session& session, core::Dialogs& dialogs,
                 core::Navigator& navigator, core::ReportOutput& reports)
    : m_db(db), m_session(session), m_dialogs(dialogs), m_navigator(navigator), m_reports(reports)
{
}

QStringList Fatture::series() const
{
    return InvoiceLists(m_db).texts(HeaderList::Suffissi);
}

core::Rows Fatture::page(const std::optional<core::Row>& after, int limit) const
{
    // Only the shown columns, newest first by the key, a page at a time: the year and number use the
    // (Anno, NumDoc) index; every value is bound.
    QString sql = QStringLiteral(
        "SELECT idFattura, NumDoc, Suffisso, data, RagioneSociale, tipopagamento, imponibile, ivatotale, "
        "totaledocumento, Magazzino, FilePA, DataExportPA FROM fatture WHERE TipoFattura = :TIPO");
    core::Params params{{QStringLiteral("TIPO"), QLatin1String(invoice().kindValue)},
                        {QStringLiteral("RIGHE"), limit}};
    if (after) {
        sql += QStringLiteral(" AND idFattura < :DOPO");
        params.insert(QStringLiteral("DOPO"), after->value(u"idFattura").toInt());
    }
    const QString number = m_filter.number.trimmed();
    if (!number.isEmpty()) {
        sql += QStringLiteral(" AND NumDoc = :NUMERO");
        params.insert(QStringLiteral("NUMERO"), number.toInt());
    }
    if (!m_filter.customer.trimmed().isEmpty()) {
        sql += QStringLiteral(" AND RagioneSociale LIKE :CLIENTE");
        params.insert(QStringLiteral("CLIENTE"), m_filter.customer.trimmed() + QLatin1Char('%'));
    }
    if (m_filter.year) {
        sql += QStringLiteral(" AND Anno = :ANNO");
        params.insert(QStringLiteral("ANNO"), QString::number(*m_filter.year));
    }
    if (m_filter.from) {
        sql += QStringLiteral(" AND data >= :DAL");
        params.insert(QStringLiteral("DAL"), *m_filter.from);
    }
    if (m_filter.to) {
        sql += QStringLiteral(" AND data <= :AL");
        params.insert(QStringLiteral("AL"), *m_filter.to);
    }
    if (!m_filter.series.trimmed().isEmpty()) {
        sql += QStringLiteral(" AND Suffisso = :SUFFISSO");
        params.insert(QStringLiteral("SUFFISSO"), m_filter.series.trimmed());
    }
    return m_db.query(sql + QStringLiteral(" ORDER BY idFattura DESC LIMIT :RIGHE"), params);
}

void Fatture::search(const InvoiceFilter& filter)
{
    m_filter = filter;
    m_pages.first(std::bind_front(&Fatture::page, this));
}

void Fatture::refresh()
{
    m_pages.reload(std::bind_front(&Fatture::page, this));
}

bool Fatture::loadMore()
{
    return m_pages.next(std::bind_front(&Fatture::page, this));
}

void Fatture::newInvoice()
{
    m_navigator.open(invoiceWindow(), QVariant(), windowName(), {{QStringLiteral("nuovo"), true}});
    refresh();
}

void Fatture::modify(int idFattura)
{
    if (idFattura <= 0)
        return;
    m_navigator.open(invoiceWindow(), idFattura, windowName());
    refresh();
}

bool Fatture::remove(int idFattura)
{
    if (idFattura <= 0)
        return false;
    if (!core::requirePrivilege(m_session, core::Privilege::Cancellazione, m_dialogs))
        return false;
    if (!m_dialogs.confirm(QStringLiteral("Eliminare la fattura selezionata?")))
        return false;
    SalesDocument document(invoice(), m_db, m_dialogs, m_session);
    document.load(idFattura);
    document.remove();
    refresh();
    return true;
}

bool Fatture::print(int idFattura, InvoicePrint variant)
{
    if (idFattura <= 0)
        return false;
    m_reports.preview(DocumentPrint(m_db, invoice(), m_heading).request(idFattura, invoiceTemplate(variant)));
    return true;
}

void Fatture::exportElectronic(InvoiceElectronicExport& exporter, const QList<int>& idFatture)
{
    QList<int> chosen;
    for (const int id : idFatture)
        if (id > 0)
            chosen << id;
    if (chosen.isEmpty())
        return;
    exporter.exportInvoices(chosen);
    refresh();
}

bool Fatture::sendByPec(InvoiceElectronicExport& exporter, int idFattura)
{
    const bool opened = exporter.sendByPec(idFattura, windowName());
    refresh();
    return opened;
}

} // namespace carvendo::documents
