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

// A shop's server that has been selling for a while holds in memory the index pages every sale
// writes at a random place (the ledger's and the stock's by item) and the barcodes' index; the
// generated shop has just been written in bulk, so they are read here. A page read by a scan is
// kept as recently used only when it is read again after innodb_old_blocks_time: that wait is
// lifted for this reading alone.
void warmSalesIndexes(core::Db& db);

} // namespace carvendo::bench
