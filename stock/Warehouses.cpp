#include "stock/Warehouses.h"

#include "core/Db.h"
#include "core/StoredProcedures.h"

#include <QStringBuilder>

#include <algorithm>

namespace carvendo::stock {

namespace {

using Type = WarehouseColumn::Type;

QString columnList()
{
    QStringList names;
    for (const WarehouseColumn& column : Warehouses::columns())
        names << QLatin1Char('`') + column.name + QLatin1Char('`');
    return names.join(QStringLiteral(", "));
}

QString placeholderList()
{
    QStringList names;
    for (const WarehouseColumn& column : Warehouses::columns())
        names << QLatin1Char(':') + column.name;
    return names.join(QStringLiteral(", "));
}

QString assignmentList()
{
    QStringList assignments;
    for (const WarehouseColumn& column : Warehouses::columns())
        assignments << QLatin1Char('`') + column.name + QStringLiteral("` = :") + column.name;
    return assignments.join(QStringLiteral(", "));
}

} // namespace

const std::vector<WarehouseColumn>& Warehouses::columns()
{
    static const std::vector<WarehouseColumn> list{
        {QStringLiteral("Descrizione"), Type::Text, 50},
        {QStringLiteral("Sede"), Type::Text, 50},
        {QStringLiteral("Esterno"), Type::Flag},
        {QStringLiteral("Citta"), Type::Text, 50},
        {QStringLiteral("Cap"), Type::Text, 50},
        {QStringLiteral("PR"), Type::Text, 50},
        {QStringLiteral("Telefono"), Type::Text, 50},
        {QStringLiteral("Fax"), Type::Text, 50},
        {QStringLiteral("Email"), Type::Text, 50},
        {QStringLiteral("Referente"), Type::Text, 50},
        {QStringLiteral("idReferente"), Type::Integer},
        {QStringLiteral("RecapitoReferente"), Type::Text, 50},
        {QStringLiteral("Predefinito"), Type::Flag},
        {QStringLiteral("Let"), Type::Text, 10},
        {QStringLiteral("Stampe_mag"), Type::Flag},
    };
    return list;
}

const WarehouseColumn* Warehouses::column(const QString& name)
{
    const auto& list = columns();
    const auto it = std::find_if(list.begin(), list.end(), [&](const WarehouseColumn& column) {
        return column.name.compare(name, Qt::CaseInsensitive) == 0;
    });
    return it == list.end() ? nullptr : &*it;
}

QVariant Warehouses::normalized(const WarehouseColumn& column, const QVariant& value)
{
    switch (column.type) {
    case Type::Text:
        return value.isNull() ? QString() : value.toString();
    case Type::Flag:
        return value.toBool();
    case Type::Integer:
        return value.toInt();
    }
    return value;
}

QVariantMap Warehouses::emptyRecord()
{
    QVariantMap record;
    for (const WarehouseColumn& column : columns())
        record.insert(column.name, normalized(column, {}));
    return record;
}

QVariantMap Warehouses::params(const QVariantMap& record)
{
    QVariantMap result;
    for (const WarehouseColumn& column : columns())
        result.insert(column.name, normalized(column, record.value(column.name)));
    return result;
}

std::optional<QVariantMap> Warehouses::find(int idMagazzino)
{
    const core::Rows rows = m_db.query(QStringLiteral("SELECT ") % columnList() %
                                           QStringLiteral(" FROM magazzini WHERE idMagazzino = :IDMAGAZZINO"),
                                       {{QStringLiteral("IDMAGAZZINO"), idMagazzino}});
    if (rows.isEmpty())
        return std::nullopt;
    QVariantMap record;
    for (const WarehouseColumn& column : columns())
        record.insert(column.name, normalized(column, rows.value(0, column.name).variant()));
    return record;
}

bool Warehouses::nameTaken(const QString& name, int exceptId)
{
    return !m_db.query(QStringLiteral("SELECT idMagazzino FROM magazzini WHERE Descrizione = :NOME AND "
                                      "idMagazzino <> :ESCLUSO LIMIT 1"),
                       {{QStringLiteral("NOME"), name}, {QStringLiteral("ESCLUSO"), exceptId}})
                .isEmpty();
}

core::Rows Warehouses::list()
{
    return m_db.query(QStringLiteral("SELECT idMagazzino, Descrizione, Let, Sede, Citta, Telefono, Esterno, "
                                     "Predefinito FROM magazzini ORDER BY Descrizione, idMagazzino"));
}

int Warehouses::insert(const QVariantMap& record)
{
    m_db.exec(QStringLiteral("INSERT INTO magazzini (") % columnList() % QStringLiteral(") VALUES (") %
                  placeholderList() % QLatin1Char(')'),
              params(record));
    return int(m_db.lastInsertId());
}

void Warehouses::update(int idMagazzino, const QVariantMap& record)
{
    QVariantMap values = params(record);
    values.insert(QStringLiteral("IDMAGAZZINO_CHIAVE"), idMagazzino);
    m_db.exec(QStringLiteral("UPDATE magazzini SET ") % assignmentList() %
                  QStringLiteral(" WHERE idMagazzino = :IDMAGAZZINO_CHIAVE"),
              values);
}

qint64 Warehouses::addMissingStockRows(int idMagazzino, const QString& name)
{
    // The set-based form of one CARICO_MAGAZZINO_INSERT per item: one round trip, however many
    // items there are. A new warehouse has no stock row yet, so every item gets one.
    return m_db.exec(
        QStringLiteral("INSERT INTO giacenze (idarticolo, idmagazzino, magazzino, giacenza, disponibilita) "
                       "SELECT a.ID, :IDMAGAZZINO, :MAGAZZINO, ROUND(IFNULL(a.giacenza, 0)), "
                       "ROUND(IFNULL(a.giacenza, 0)) FROM articoli a "
                       "WHERE NOT EXISTS (SELECT 1 FROM giacenze g "
                       "WHERE g.idarticolo = a.ID AND g.idmagazzino = :IDMAGAZZINO)"),
        {{QStringLiteral("IDMAGAZZINO"), idMagazzino}, {QStringLiteral("MAGAZZINO"), name}});
}

void Warehouses::rename(const QString& newName, const QString& oldName)
{
    core::StoredProcedures(m_db).updateMagChange(newName, oldName);
    m_db.exec(QStringLiteral("UPDATE utenti SET utenti.magazzino = :NUOVO WHERE utenti.magazzino = :VECCHIO"),
              {{QStringLiteral("NUOVO"), newName}, {QStringLiteral("VECCHIO"), oldName}});
}

bool Warehouses::none()
{
    return m_db.query(QStringLiteral("SELECT idMagazzino FROM magazzini LIMIT 1")).isEmpty();
}

void Warehouses::giveToOperatorsWithoutWarehouse(const QString& name)
{
    m_db.exec(QStringLiteral("UPDATE utenti SET magazzino = :NOME WHERE NOT EXISTS "
                             "(SELECT 1 FROM magazzini m WHERE m.Descrizione = utenti.magazzino)"),
              {{QStringLiteral("NOME"), name}});
}

int Warehouses::operatorsWorkingIn(const QString& name)
{
    return m_db
        .scalar(QStringLiteral("SELECT COUNT(*) FROM utenti WHERE magazzino = :NOME"),
                {{QStringLiteral("NOME"), name}})
        .toInt();
}

void Warehouses::remove(int idMagazzino)
{
    const core::Params id{{QStringLiteral("IDMAGAZZINO"), idMagazzino}};
    core::Transaction transaction(m_db);
    m_db.exec(QStringLiteral("DELETE FROM giacenze WHERE idmagazzino = :IDMAGAZZINO"), id);
    m_db.exec(QStringLiteral("DELETE FROM disptc WHERE idmagazzino = :IDMAGAZZINO"), id);
    m_db.exec(QStringLiteral("DELETE FROM magazzini WHERE idMagazzino = :IDMAGAZZINO"), id);
    transaction.commit();
}

} // namespace carvendo::stock
