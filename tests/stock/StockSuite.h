#pragma once

#include "core/Db.h"
#include "core/Session.h"
#include "tests/support/TestDatabase.h"

#include <QString>

#include <optional>

namespace carvendo::testing {

// The stock tests' shop: items, warehouses and stock rows, each with the columns its case needs.
template <typename Suite> class StockSuite : public CompanySuite<Suite>
{
protected:
    using Base = CompanySuite<Suite>;

    // An item whose description is its code unless the columns give one.
    static int addItem(const QString& code, core::Params columns = {})
    {
        columns.insert(QStringLiteral("CodArticolo"), code);
        if (!columns.contains(QStringLiteral("Descrizione")))
            columns.insert(QStringLiteral("Descrizione"), code);
        return Base::insert("articoli", columns);
    }

    static core::Warehouse addWarehouse(const QString& name)
    {
        return {Base::insert("magazzini", {{QStringLiteral("Descrizione"), name}}), name};
    }

    // The item's row in the warehouse; what is available follows the stock unless given.
    static void addStock(int item, const core::Warehouse& warehouse, double giacenza,
                         std::optional<double> disponibilita = {})
    {
        Base::insert("giacenze", {{QStringLiteral("idarticolo"), item},
                                  {QStringLiteral("idmagazzino"), warehouse.id},
                                  {QStringLiteral("magazzino"), warehouse.name},
                                  {QStringLiteral("giacenza"), giacenza},
                                  {QStringLiteral("disponibilita"), disponibilita.value_or(giacenza)}});
    }

    // A movement of the item in the warehouse: a load (acquisti), a sale (venduti) or a return (dettreso).
    static void addMovement(const char* table, int item, int warehouse, double quantity,
                            core::Params more = {})
    {
        more.insert(QStringLiteral("idarticolo"), item);
        more.insert(QStringLiteral("idmagazzino"), warehouse);
        more.insert(QStringLiteral("quantita"), quantity);
        Base::insert(table, more);
    }

    static double stockOf(int item, int warehouse)
    {
        return Base::db()
            .scalar(
                QStringLiteral("SELECT giacenza FROM giacenze WHERE idarticolo = :A AND idmagazzino = :M"),
                {{QStringLiteral("A"), item}, {QStringLiteral("M"), warehouse}})
            .toDouble();
    }
};

} // namespace carvendo::testing
