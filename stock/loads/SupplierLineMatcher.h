#pragma once

#include "einvoice/SupplierInvoice.h"

#include <QHash>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace carvendo::core {
class Db;
} // namespace carvendo::core

namespace carvendo::stock {

// Finds the items of many lines at once: at each step (the supplier's code in the supplier's
// catalogue of the item or on the item, the barcode, the item code) one query for every code of the
// lines still unmatched, in chunks of a fixed size so one prepared statement serves every chunk.
class SupplierLineMatcher
{
public:
    SupplierLineMatcher(core::Db& db, int idFornitore) : m_db(db), m_idFornitore(idFornitore) {}

    // The item of each line, nullopt where none; progress 0..100.
    QList<std::optional<int>> match(const QList<const einvoice::SupplierInvoiceLine*>& lines,
                                    const std::function<void(int)>& progress);

private:
    static constexpr int Chunk = 100;

    // Code (as the server compares it) -> item, the first row of each code.
    QHash<QString, int> lookUp(const QString& sql, const QStringList& codes, bool bySupplier);

    core::Db& m_db;
    int m_idFornitore;
};

} // namespace carvendo::stock
