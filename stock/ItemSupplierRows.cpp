#include "stock/ItemSupplierRows.h"

#include "stock/CheckAndWriteLock.h"
#include "stock/NumberFields.h"
#include "stock/SelectedRow.h"

#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/Navigator.h"
#include "core/Privileges.h"
#include "core/Session.h"

#include <stdexcept>

namespace carvendo::stock {

namespace {

enum class CellKind
{
    Text,
    Amount, // a cost: a number, not negative
    Percent // a whole number from 0 to 100
};

struct EditableColumn
{
    QString name;
    CellKind kind;
    int maxLength;
    QString refusal;
};

const QList<EditableColumn>& editable()
{
    static const QString discount = NumberFields::discountRefusal();
    static const QList<EditableColumn> list{
        {QStringLiteral("Codice"), CellKind::Text, 50, {}},
        {QStringLiteral("Descrizione"), CellKind::Text, 255, {}},
        {QStringLiteral("Acquisto"), CellKind::Amount, 0, NumberFields::costRefusal()},
        {QStringLiteral("Sconto1"), CellKind::Percent, 0, discount},
        {QStringLiteral("Sconto2"), CellKind::Percent, 0, discount},
        {QStringLiteral("Iva"), CellKind::Percent, 0, NumberFields::vatRefusal()},
    };
    return list;
}

const EditableColumn& editableColumn(const QString& name)
{
    for (const EditableColumn& column : editable())
        if (column.name.compare(name, Qt::CaseInsensitive) == 0)
            return column;
    throw std::invalid_argument("not an editable supplier-row column: " + name.toStdString());
}

core::Params rowParams(int idRow, int idArticolo)
{
    return {{QStringLiteral("ID"), idRow}, {QStringLiteral("IDARTICOLO"), idArticolo}};
}

} // namespace

ItemSupplierRows::ItemSupplierRows(core::Db& db, const core::Session& session, core::Dialogs& dialogs,
                                   core::Navigator& navigator, QObject* parent)
    : QObject(parent), m_db(db), m_session(session), m_dialogs(dialogs), m_navigator(navigator)
{
}

void ItemSupplierRows::setItem(int idArticolo)
{
    m_idArticolo = idArticolo;
    emit rowsChanged();
}

const QStringList& ItemSupplierRows::editableColumns()
{
    static const QStringList names = [] {
        QStringList out;
        for (const EditableColumn& column : editable())
            out << column.name;
        return out;
    }();
    return names;
}

core::Rows ItemSupplierRows::rows() const
{
    return m_db.query(
        QStringLiteral("SELECT id, idFornitore, Fornitore, Codice, Descrizione, Acquisto, Sconto1, "
                       "Sconto2, Iva FROM articoli_fornitori WHERE idArticolo = :IDARTICOLO ORDER BY id"),
        {{QStringLiteral("IDARTICOLO"), m_idArticolo}});
}

bool ItemSupplierRows::add(const SupplierRowDefaults& defaults)
{
    const core::NavigationResult chosen =
        m_navigator.open(QStringLiteral("TFornitoriPreleva"), QVariant(), QStringLiteral("Articolo_New"));
    if (!chosen.accepted || chosen.value.isNull() || !chosen.value.isValid())
        return false;
    const int idFornitore = chosen.value.toInt();
    QString name = chosen.values.value(QStringLiteral("RagSoc")).toString();
    if (name.isEmpty())
        name = m_db.scalar(QStringLiteral("SELECT RagSoc FROM fornitori WHERE id_fornitore = :ID"),
                           {{QStringLiteral("ID"), idFornitore}})
                   .toString();
    const core::Params params{{QStringLiteral("IDARTICOLO"), m_idArticolo},
                              {QStringLiteral("IDFORNITORE"), idFornitore}};
    // Checked and written under one lock: two workstations adding the same supplier at once would
    // otherwise both find it missing.
    CheckAndWriteLock lock(m_db, UniqueWrite::ItemSupplierRows, m_idArticolo);
    core::Transaction transaction(m_db);
    if (!m_db.query(QStringLiteral("SELECT id FROM articoli_fornitori WHERE idArticolo = :IDARTICOLO "
                                   "AND idFornitore = :IDFORNITORE LIMIT 1"),
                    params)
             .isEmpty()) {
        m_dialogs.information(QStringLiteral("Il fornitore scelto è già tra i fornitori dell'articolo"));
        return false;
    }
    core::Params row = params;
    row.insert(QStringLiteral("FORNITORE"), name);
    row.insert(QStringLiteral("DESCRIZIONE"), defaults.description);
    row.insert(QStringLiteral("ACQUISTO"), QVariant::fromValue(defaults.cost));
    row.insert(QStringLiteral("IVA"), defaults.vat);
    m_db.exec(
        QStringLiteral(
            "INSERT INTO articoli_fornitori (idArticolo, idFornitore, Fornitore, Descrizione, Acquisto, Iva) "
            "VALUES (:IDARTICOLO, :IDFORNITORE, :FORNITORE, :DESCRIZIONE, :ACQUISTO, :IVA)"),
        row);
    transaction.commit();
    emit rowsChanged();
    return true;
}

bool ItemSupplierRows::remove(int idRow)
{
    if (!requireSelection(idRow, m_dialogs))
        return false;
    if (!core::requirePrivilege(m_session, core::Privilege::Cancellazione, m_dialogs))
        return false;
    if (!m_dialogs.confirm(QStringLiteral("Eliminare il Fornitore selezionato?")))
        return false;
    m_db.exec(QStringLiteral("DELETE FROM articoli_fornitori WHERE id = :ID AND idArticolo = :IDARTICOLO"),
              rowParams(idRow, m_idArticolo));
    emit rowsChanged();
    return true;
}

void ItemSupplierRows::show(int idRow)
{
    if (!requireSelection(idRow, m_dialogs))
        return;
    const core::Field idFornitore = m_db.scalar(
        QStringLiteral(
            "SELECT idFornitore FROM articoli_fornitori WHERE id = :ID AND idArticolo = :IDARTICOLO"),
        rowParams(idRow, m_idArticolo));
    if (idFornitore.isNull()) {
        m_dialogs.information(QStringLiteral("Il fornitore selezionato non esiste più"));
        return;
    }
    m_navigator.open(QStringLiteral("TFornitore"), idFornitore.toInt(), QStringLiteral("Articolo"));
}

std::optional<QVariant> ItemSupplierRows::checked(const QString& name, const QVariant& typed)
{
    const EditableColumn& column = editableColumn(name);
    const QString text = typed.toString().trimmed();
    switch (column.kind) {
    case CellKind::Text:
        if (text.size() > column.maxLength) {
            m_dialogs.warning(
                QStringLiteral("Testo troppo lungo: al massimo %1 caratteri").arg(column.maxLength));
            return std::nullopt;
        }
        return text;
    case CellKind::Amount: {
        const std::optional<core::Money> amount = NumberFields::cost(text);
        if (!amount) {
            m_dialogs.warning(column.refusal);
            return std::nullopt;
        }
        return QVariant::fromValue(*amount);
    }
    case CellKind::Percent: {
        const std::optional<int> percent = NumberFields::percent(text);
        if (!percent) {
            m_dialogs.warning(column.refusal);
            return std::nullopt;
        }
        return *percent;
    }
    }
    return std::nullopt;
}

bool ItemSupplierRows::save(const core::RowEdits& edits)
{
    m_failedCell = {};
    QList<std::pair<qint64, core::Params>> updates;
    for (const qint64 key : edits.keys()) {
        const QVariantMap row = edits.row(key);
        core::Params values;
        for (auto cell = row.constBegin(); cell != row.constEnd(); ++cell) {
            const std::optional<QVariant> value = checked(cell.key(), cell.value());
            if (!value) {
                m_failedCell = {key, editableColumn(cell.key()).name};
                return false;
            }
            values.insert(editableColumn(cell.key()).name, *value);
        }
        updates.append({key, values});
    }

    core::Transaction transaction(m_db);
    for (const auto& [key, values] : updates) {
        QStringList assignments;
        core::Params params = rowParams(int(key), m_idArticolo);
        for (auto value = values.constBegin(); value != values.constEnd(); ++value) {
            assignments << QStringLiteral("`%1` = :V_%1").arg(value.key());
            params.insert(QStringLiteral("V_") + value.key(), value.value());
        }
        const QString sql =
            QStringLiteral("UPDATE articoli_fornitori SET %1 WHERE id = :ID AND idArticolo = :IDARTICOLO")
                .arg(assignments.join(QStringLiteral(", ")));
        if (m_db.exec(sql, params) == 0) {
            m_dialogs.error(QStringLiteral(
                "Il fornitore modificato non esiste più: le modifiche non sono state salvate"));
            m_failedCell = {key, {}};
            return false;
        }
    }
    transaction.commit();
    emit rowsChanged();
    return true;
}

} // namespace carvendo::stock
