#pragma once

#include <QString>

namespace carvendo::core {
class Db;
} // namespace carvendo::core

namespace carvendo::stock {

// The codes that tell one item from every other: its code and its barcode. Whoever gives an item one
// of them (the item card, an import making items) checks it and writes it under lockName(), taken
// before the command's transaction, so two workstations never give one code to two items. Old data
// may hold duplicates, so a unique index cannot do it.
class ItemCodeGuard
{
public:
    enum class Column
    {
        CodArticolo,
        BarcodeFull
    };

    explicit ItemCodeGuard(core::Db& db) : m_db(db) {}

    static QString lockName() { return QStringLiteral("articoli.codici"); }

    // A code as the server compares these columns: regardless of case and of trailing spaces. Codes
    // kept in memory beside the table are keyed by it.
    static QString comparable(const QString& code);

    // True when an item other than idArticolo (0: any item) has the value.
    bool taken(Column column, const QString& value, int idArticolo = 0) const;
    // The refusal of a taken value: "Codice X già assegnato ad altro articolo, riprovare"; without the
    // value when the window shows it already (the item card's field).
    static QString takenMessage(Column column, const QString& value = {});

private:
    core::Db& m_db;
};

} // namespace carvendo::stock
