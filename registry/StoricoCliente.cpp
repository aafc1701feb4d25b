#include "registry/StoricoCliente.h"

#include "core/Db.h"
#include "core/Dialogs.h"

namespace carvendo::registry {

namespace {

QString historySql(HistoryTab::Source source)
{
    using S = HistoryTab::Source;
    switch (source) {
    case S::CustomerOrders:
        return QStringLiteral("SELECT * FROM ordiniclienti WHERE idcliente = :ID");
    case S::Quotes:
        return QStringLiteral("SELECT * FROM preventivi WHERE idcliente = :ID");
    case S::Invoices:
        return QStringLiteral("SELECT * FROM fatture WHERE idcliente = :ID");
    case S::DeliveryNotes:
        return QStringLiteral("SELECT * FROM ddt WHERE idcliente = :ID");
    case S::CounterSales:
        return QStringLiteral("SELECT * FROM banco WHERE idcliente = :ID");
    case S::Repairs:
        return QStringLiteral("SELECT * FROM riparazioni WHERE idcliente = :ID");
    case S::CashBook:
        return QStringLiteral("SELECT * FROM prima_nota WHERE tiposogg = 'Cliente' AND idsoggetto = :ID");
    case S::SupplierOrders:
        return QStringLiteral("SELECT * FROM ordinifornitori WHERE idfornitore = :ID");
    case S::GoodsReceipts:
        return QStringLiteral("SELECT * FROM carichi WHERE idfornitore = :ID");
    }
    return {};
}

} // namespace

QList<HistoryTab> customerHistoryTabs()
{
    using S = HistoryTab::Source;
    return {{QStringLiteral("Ordini"), S::CustomerOrders},
            {QStringLiteral("Preventivi"), S::Quotes},
            {QStringLiteral("Fatture"), S::Invoices},
            {QStringLiteral("DDT"), S::DeliveryNotes},
            {QStringLiteral("Vendite al banco"), S::CounterSales},
            {QStringLiteral("Riparazioni"), S::Repairs},
            {QStringLiteral("Prima nota"), S::CashBook}};
}

QList<HistoryTab> supplierHistoryTabs()
{
    using S = HistoryTab::Source;
    return {{QStringLiteral("Ordini"), S::SupplierOrders}, {QStringLiteral("Carichi"), S::GoodsReceipts}};
}

core::Rows historyRows(core::Db& db, HistoryTab::Source source, int id)
{
    return db.query(historySql(source), {{QStringLiteral("ID"), id}});
}

core::Rows StoricoCliente::findCustomers(SearchBy by, const QString& text) const
{
    const QString typed = text.trimmed();
    if (typed.isEmpty())
        return {};
    switch (by) {
    case SearchBy::Name:
        return m_db.query(
            QStringLiteral("SELECT * FROM clienti WHERE RagioneSociale LIKE :TESTO ORDER BY RagioneSociale"),
            {{QStringLiteral("TESTO"), QLatin1Char('%') + typed + QLatin1Char('%')}});
    case SearchBy::CodiceFiscale:
        return m_db.query(
            QStringLiteral("SELECT * FROM clienti WHERE CodFisc = :TESTO ORDER BY RagioneSociale"),
            {{QStringLiteral("TESTO"), typed}});
    case SearchBy::PartitaIva:
        return m_db.query(QStringLiteral("SELECT * FROM clienti WHERE pIva = :TESTO ORDER BY RagioneSociale"),
                          {{QStringLiteral("TESTO"), typed}});
    }
    return {};
}

bool StoricoCliente::open(int idCliente)
{
    const core::Rows customer =
        m_db.query(QStringLiteral("SELECT RagioneSociale FROM clienti WHERE idCliente = :ID"),
                   {{QStringLiteral("ID"), idCliente}});
    if (customer.isEmpty()) {
        m_dialogs.warning(
            QStringLiteral("Il cliente non esiste più: può essere stato eliminato da un'altra postazione."));
        return false;
    }
    m_id = idCliente;
    m_name = customer[0][QStringLiteral("RagioneSociale")].toString();
    m_sales = m_db.query(QStringLiteral("SELECT V.* FROM venduti V WHERE V.idcliente = :IDCLIENTE"),
                         {{QStringLiteral("IDCLIENTE"), idCliente}});
    return true;
}

QString StoricoCliente::title() const
{
    return QStringLiteral("Storico Cliente: ") + m_name;
}

} // namespace carvendo::registry
