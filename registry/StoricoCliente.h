#pragma once

#include "core/Rows.h"

#include <QList>
#include <QString>

namespace carvendo::core {
class Db;
class Dialogs;
} // namespace carvendo::core

namespace carvendo::registry {

// One history tab of a customer or supplier card: its caption and the documents it lists.
struct HistoryTab
{
    enum class Source
    {
        CustomerOrders,
        Quotes,
        Invoices,
        DeliveryNotes,
        CounterSales,
        Repairs,
        CashBook,
        SupplierOrders,
        GoodsReceipts
    };
    QString caption;
    Source source;
};

// The tabs of the customer card and of the supplier card, in the order shown.
QList<HistoryTab> customerHistoryTabs();
QList<HistoryTab> supplierHistoryTabs();
// The rows of one tab for the customer or supplier with that id.
core::Rows historyRows(core::Db& db, HistoryTab::Source source, int id);

// The sales history of one customer: the customer found by name, codice fiscale or partita IVA,
// then every sold line.
class StoricoCliente
{
public:
    enum class SearchBy
    {
        Name,
        CodiceFiscale,
        PartitaIva
    };

    StoricoCliente(core::Db& db, core::Dialogs& dialogs) : m_db(db), m_dialogs(dialogs) {}

    // The customers matching the typed text: names containing it, or the exact tax code. An empty
    // text finds nothing.
    core::Rows findCustomers(SearchBy by, const QString& text) const;

    // Shows the customer's sales; false, after telling the operator, when the customer is gone.
    bool open(int idCliente);
    int customer() const { return m_id; }
    // "Storico Cliente: " and the customer's name, the title of the printout.
    QString title() const;
    const core::Rows& sales() const { return m_sales; }

private:
    core::Db& m_db;
    core::Dialogs& m_dialogs;
    int m_id = 0;
    QString m_name;
    core::Rows m_sales;
};

} // namespace carvendo::registry
