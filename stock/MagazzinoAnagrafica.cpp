#include "stock/MagazzinoAnagrafica.h"

#include "stock/CheckAndWriteLock.h"
#include "stock/Warehouses.h"

#include "core/ConnectionIni.h"
#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/Paths.h"
#include "core/Session.h"

#include <stdexcept>

namespace carvendo::stock {

namespace {

const QString Descrizione = QStringLiteral("Descrizione");
const QString Let = QStringLiteral("Let");

const WarehouseColumn& knownColumn(const QString& name)
{
    const WarehouseColumn* column = Warehouses::column(name);
    if (!column)
        throw std::invalid_argument("not a warehouse column: " + name.toStdString());
    return *column;
}

} // namespace

MagazzinoAnagrafica::MagazzinoAnagrafica(core::Db& db, core::Session& session, const core::Paths& paths,
                                         core::Dialogs& dialogs, QObject* parent)
    : QObject(parent), m_db(db), m_session(session), m_paths(paths), m_dialogs(dialogs)
{
    openNew();
}

void MagazzinoAnagrafica::openNew(const QString& descrizione)
{
    m_id = 0;
    m_values = Warehouses::emptyRecord();
    m_values.insert(Descrizione, descrizione);
    m_saved = m_values; // a proposed name is not a change of the operator's
    emit changed();
}

bool MagazzinoAnagrafica::open(int idMagazzino)
{
    const std::optional<QVariantMap> record = Warehouses(m_db).find(idMagazzino);
    if (!record) {
        m_dialogs.information(QStringLiteral("Il magazzino selezionato non esiste più"));
        return false;
    }
    m_id = idMagazzino;
    m_values = *record;
    m_saved = m_values;
    emit changed();
    return true;
}

QVariant MagazzinoAnagrafica::value(const QString& column) const
{
    return m_values.value(knownColumn(column).name);
}

void MagazzinoAnagrafica::setValue(const QString& column, const QVariant& value)
{
    const WarehouseColumn& known = knownColumn(column);
    const QVariant normalized = Warehouses::normalized(known, value);
    if (m_values.value(known.name) == normalized)
        return;
    m_values.insert(known.name, normalized);
    emit changed();
}

QString MagazzinoAnagrafica::exitCaption() const
{
    return isNew() ? QStringLiteral("Annulla") : QStringLiteral("Esci");
}

bool MagazzinoAnagrafica::validate(const QString& name)
{
    if (name.isEmpty()) {
        m_dialogs.information(QStringLiteral("Inserire il nome del magazzino"));
        return false;
    }
    return true;
}

bool MagazzinoAnagrafica::save()
{
    const QString name = m_values.value(Descrizione).toString().trimmed();
    const QString oldName = m_saved.value(Descrizione).toString();
    if (!validate(name))
        return false;
    QVariantMap record = m_values;
    record.insert(Descrizione, name);

    Warehouses warehouses(m_db);
    // The name is checked and written under one lock: two workstations saving the same new name
    // at once would otherwise both find it free.
    CheckAndWriteLock lock(m_db, UniqueWrite::WarehouseNames);
    core::Transaction transaction(m_db);
    // Operators, stock rows and the login find a warehouse by its name: two warehouses of the same
    // name would share them.
    if (warehouses.nameTaken(name, m_id)) {
        m_dialogs.information(QStringLiteral("Esiste già un magazzino con questo nome"));
        return false;
    }
    int id = m_id;
    if (isNew()) {
        const bool first = warehouses.none();
        id = warehouses.insert(record);
        warehouses.addMissingStockRows(id, name);
        if (first)
            warehouses.giveToOperatorsWithoutWarehouse(name);
    } else {
        warehouses.update(id, record);
        if (name != oldName)
            warehouses.rename(name, oldName);
    }
    transaction.commit();

    const bool wasNew = isNew();
    m_id = id;
    m_values = record;
    m_saved = record;
    if (!wasNew && name != oldName)
        followRenameInSession(oldName);
    emit changed();
    emit saved(m_id);
    writeWorkstationWarehouse();
    return true;
}

void MagazzinoAnagrafica::writeWorkstationWarehouse()
{
    // The warehouse is saved by now; a settings file that cannot be written is told by the window.
    core::ConnectionIni ini(m_paths.connessioneIni());
    ini.setWarehouse({m_id, m_values.value(Descrizione).toString(), m_values.value(Let).toString()});
    ini.save();
}

void MagazzinoAnagrafica::followRenameInSession(const QString& oldName)
{
    // Documents copy the current warehouse's name from the login state: a renamed current
    // warehouse must not go on being written under its old name.
    const core::Warehouse& current = m_session.warehouse();
    if (!m_session.isLoggedIn() || current.id != m_id || current.name != oldName)
        return;
    m_session.logIn(m_session.currentOperator(), {m_id, m_values.value(Descrizione).toString()},
                    m_session.privileges());
}

bool MagazzinoAnagrafica::mayLeave()
{
    if (!isModified())
        return true;
    return m_dialogs.confirm(
        QStringLiteral("Eventuali modifiche effettuate non saranno salvate. Vuoi uscire senza salvare ?"));
}

} // namespace carvendo::stock
