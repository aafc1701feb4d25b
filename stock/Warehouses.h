#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <optional>
#include <vector>

namespace carvendo::core {
class Db;
class Rows;
} // namespace carvendo::core

namespace carvendo::stock {

// One column of `magazzini` that a warehouse card edits.
struct WarehouseColumn
{
    enum class Type
    {
        Text,
        Flag,
        Integer
    };
    QString name; // as the table spells it ("Descrizione", "Stampe_mag")
    Type type = Type::Text;
    int maxLength = 0; // text columns: the column's size
};

// The SQL of the `magazzini` table and of the rows that copy a warehouse's name. A warehouse is a
// map of column name to value over the fixed column list below; nothing else reaches the SQL text.
class Warehouses
{
public:
    explicit Warehouses(core::Db& db) : m_db(db) {}

    // Every column but the key, in table order.
    static const std::vector<WarehouseColumn>& columns();
    // The column as the table spells it, found ignoring letter case; nullptr when it is not one.
    static const WarehouseColumn* column(const QString& name);
    // The value as the column stores it (text, bool or int); a null text is empty.
    static QVariant normalized(const WarehouseColumn& column, const QVariant& value);
    // A warehouse with every column empty, false or 0.
    static QVariantMap emptyRecord();

    // The warehouse's columns, or nothing when there is no such warehouse.
    std::optional<QVariantMap> find(int idMagazzino);
    // Whether another warehouse than exceptId already has the name (names are compared as the
    // server compares them: ignoring letter case and trailing blanks).
    bool nameTaken(const QString& name, int exceptId = 0);

    // Every warehouse for the list window: idMagazzino, Descrizione, Let, Sede, Citta, Telefono,
    // Esterno, Predefinito, by name.
    core::Rows list();

    int insert(const QVariantMap& record); // the new `idMagazzino`
    void update(int idMagazzino, const QVariantMap& record);

    // A stock row for every item that has none in the warehouse, holding the item's `giacenza`
    // mirror as a whole number (rounded half to even). One statement; returns the rows made.
    qint64 addMissingStockRows(int idMagazzino, const QString& name);
    // The warehouse's new name in every row that copies it (UPDATE_MAG_CHANGE) and in the
    // operators who work in it. Documents keep the name they were written with.
    void rename(const QString& newName, const QString& oldName);

    // Whether there is no warehouse at all (a new company).
    bool none();
    // The warehouse's name for every operator whose warehouse does not exist (the seeded operator of
    // a new company works in "MAGAZZINO CENTRALE"): without it they could not log in.
    void giveToOperatorsWithoutWarehouse(const QString& name);

    // How many operators work in the warehouse of that name (`utenti`.`magazzino`).
    int operatorsWorkingIn(const QString& name);
    // Deletes the warehouse with its stock rows (`giacenze`) and its size and colour grid
    // (`disptc`), in one transaction: stock figures of a warehouse that no longer exists would
    // still be counted by the inventory. Sales, loads and documents keep their own copies.
    void remove(int idMagazzino);

private:
    static QVariantMap params(const QVariantMap& record);

    core::Db& m_db;
};

} // namespace carvendo::stock
