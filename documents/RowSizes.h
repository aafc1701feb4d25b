#pragma once

#include <QString>

namespace carvendo::core {
class Db;
}

namespace carvendo::documents {

// The sizes and colours a document row sold (`scaricotcdoc`, written by the size/colour dialog): when
// the row goes they come back to the grid of the warehouse they left, and their record goes, inside
// the caller's transaction.
class RowSizes
{
public:
    RowSizes(core::Db& db, QString documentKind) : m_db(db), m_kind(std::move(documentKind)) {}

    // Sizes that left the grid for another document first (a counter sale's cell) become this one's.
    void record(int documentId, int itemId, const QString& colour, const QString& size, int quantity,
                const QString& description);
    void giveBack(int documentId, int itemId, int warehouseId);
    void giveBackAll(int documentId, int warehouseId);

private:
    core::Db& m_db;
    QString m_kind;
};

} // namespace carvendo::documents
