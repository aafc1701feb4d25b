#pragma once

#include <QString>

namespace carvendo::core {
class Db;
} // namespace carvendo::core

namespace carvendo::bench {

// The size of a generated shop.
struct CatalogueSize
{
    int items = 100000;
    int warehouses = 3;
    int sales = 1000000;     // `venduti` rows
    int purchases = 1000000; // `acquisti` rows
};

// Fills an empty company database with a shop of that size: warehouses, suppliers, items with
// prices and minimum stock (about one in ten at or below it), a stock row per item and warehouse,
// and the sales and purchase history spread over two years. Set-based through the server's
// sequence engine: a handful of statements, seconds rather than minutes.
void generateCatalogue(core::Db& db, const CatalogueSize& size);

// The barcode and the description prefix of generated items, for the searches.
QString generatedBarcode(int item);
QString generatedDescriptionPrefix();

} // namespace carvendo::bench
