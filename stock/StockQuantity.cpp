#include "stock/StockQuantity.h"

#include "core/Db.h"
#include "core/StoredProcedures.h"

#include <array>

namespace carvendo::stock {

namespace {

struct Conversion
{
    const char* um;
    const char* umVendita;
    double factor;
};

// Sale units that are a fraction of the stock unit; every pair not listed counts one to one.
constexpr std::array<Conversion, 7> Conversions{{
    {"MT", "CM", 100},
    {"KG", "HG", 10},
    {"KG", "GR", 1000},
    {"HG", "GR", 100},
    {"LT", "CL", 100},
    {"LT", "ML", 1000},
    {"CL", "ML", 10},
}};

QString unitKey(const QString& unit)
{
    return unit.trimmed().toUpper();
}

} // namespace

double unitsPerStockUnit(const QString& um, const QString& umVendita)
{
    const QString stock = unitKey(um);
    const QString sale = unitKey(umVendita);
    for (const Conversion& conversion : Conversions)
        if (stock == QLatin1String(conversion.um) && sale == QLatin1String(conversion.umVendita))
            return conversion.factor;
    return 1;
}

double stockQuantity(double sold, const SaleUnits& units)
{
    const double factor = unitsPerStockUnit(units.um, units.umVendita);
    if (units.porzioni)
        return sold * units.porzValore / factor;
    return sold / factor;
}

double stockQuantity(double sold, const QString& um, const QString& umVendita, bool porzioni,
                     double porzValore)
{
    return stockQuantity(sold, SaleUnits{um, umVendita, porzioni, porzValore});
}

std::optional<SaleUnits> saleUnitsOf(core::Db& db, int idArticolo)
{
    const core::Rows item = db.query(
        QStringLiteral("SELECT UM, UMVENDITA, Porzioni, PorzValore FROM articoli WHERE ID = :IDARTICOLO"),
        {{QStringLiteral("IDARTICOLO"), idArticolo}});
    if (item.isEmpty())
        return std::nullopt;
    const core::Row row = item.first();
    return SaleUnits{row["UM"].toString(), row["UMVENDITA"].toString(), row["Porzioni"].toBool(),
                     row["PorzValore"].toDouble()};
}

void unloadStockQuantity(core::Db& db, int idArticolo, int idMagazzino, double quantity)
{
    core::Transaction transaction(db);
    db.exec(QStringLiteral("UPDATE articoli SET giacenza = IFNULL(giacenza, 0) - :QUANTITA, "
                           "Disponibilita = IFNULL(Disponibilita, 0) - :QUANTITA WHERE ID = :IDARTICOLO"),
            {{QStringLiteral("QUANTITA"), quantity}, {QStringLiteral("IDARTICOLO"), idArticolo}});
    core::StoredProcedures(db).scaricoMagazzino(idArticolo, idMagazzino, quantity);
    transaction.commit();
}

double unloadSoldQuantity(core::Db& db, int idArticolo, int idMagazzino, double sold)
{
    const std::optional<SaleUnits> units = saleUnitsOf(db, idArticolo);
    if (!units)
        return 0;
    const double quantity = stockQuantity(sold, *units);
    unloadStockQuantity(db, idArticolo, idMagazzino, quantity);
    return quantity;
}

} // namespace carvendo::stock
