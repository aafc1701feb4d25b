#include "stock/WorkTableRows.h"

#include "core/Db.h"

#include <QUuid>

namespace carvendo::stock {

namespace {

// The only table names that reach the SQL text.
QString tableName(WorkTable table)
{
    switch (table) {
    case WorkTable::Inventario:
        return QStringLiteral("inventario");
    case WorkTable::Sottoscorta:
        return QStringLiteral("sottoscorta");
    case WorkTable::CaricoTC:
        return QStringLiteral("caricotc");
    case WorkTable::ScaricoTC:
        return QStringLiteral("scaricotc");
    }
    return {};
}

} // namespace

WorkTableRows::WorkTableRows(core::Db& db, WorkTable table)
    : m_db(db), m_table(table), m_owner(QUuid::createUuid().toString(QUuid::WithoutBraces))
{
}

WorkTableRows::~WorkTableRows()
{
    try {
        clear(m_db);
    } catch (const core::Error&) {
        // A connection that is gone leaves the rows behind; nobody else reads them.
    }
}

void WorkTableRows::clear(core::Db& db) const
{
    db.exec(QStringLiteral("DELETE FROM `%1` WHERE proprietario = :PROPRIETARIO").arg(tableName(m_table)),
            {{QStringLiteral("PROPRIETARIO"), m_owner}});
}

} // namespace carvendo::stock
