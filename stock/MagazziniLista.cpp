#include "stock/MagazziniLista.h"

#include "stock/Warehouses.h"

#include "core/ConnectionIni.h"
#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/Navigator.h"
#include "core/Paths.h"
#include "core/Session.h"

namespace carvendo::stock {

namespace {

const QString CardWindow = QStringLiteral("TMagazzinoAnagrafica");
const QString ListWindow = QStringLiteral("TMagazziniLista");

} // namespace

MagazziniLista::MagazziniLista(core::Db& db, const core::Session& session, const core::Paths& paths,
                               core::Dialogs& dialogs, core::Navigator& navigator, QObject* parent)
    : QObject(parent), m_db(db), m_session(session), m_paths(paths), m_dialogs(dialogs),
      m_navigator(navigator)
{
}

void MagazziniLista::refresh()
{
    m_rows = Warehouses(m_db).list();
    emit rowsChanged();
}

int MagazziniLista::idAt(int row) const
{
    if (row < 0 || row >= m_rows.size())
        return 0;
    return m_rows.value(row, "idMagazzino").toInt();
}

void MagazziniLista::newWarehouse()
{
    m_navigator.open(CardWindow, QVariant(), ListWindow);
    refresh();
}

bool MagazziniLista::requireSelection(int idMagazzino)
{
    if (idMagazzino > 0)
        return true;
    m_dialogs.information(QStringLiteral("Selezionare un magazzino"));
    return false;
}

void MagazziniLista::modify(int idMagazzino)
{
    if (!requireSelection(idMagazzino))
        return;
    m_navigator.open(CardWindow, idMagazzino, ListWindow);
    refresh();
}

QString MagazziniLista::refusal(int idMagazzino, const QString& name)
{
    bool workstationWarehouse = m_session.isLoggedIn() && m_session.warehouse().id == idMagazzino;
    if (!workstationWarehouse) {
        try {
            workstationWarehouse =
                core::ConnectionIni(m_paths.connessioneIni()).warehouse().id == idMagazzino;
        } catch (const core::IniFileError&) {
            // An unreadable settings file names no warehouse.
        }
    }
    if (workstationWarehouse)
        return QStringLiteral(
            "Impossibile eliminare il magazzino: è il magazzino corrente di questa postazione");
    if (Warehouses(m_db).operatorsWorkingIn(name) > 0)
        return QStringLiteral(
            "Impossibile eliminare il magazzino: è il magazzino di lavoro di almeno un operatore");
    return {};
}

bool MagazziniLista::remove(int idMagazzino)
{
    if (!requireSelection(idMagazzino))
        return false;
    if (!core::requirePrivilege(m_session, core::Privilege::Cancellazione, m_dialogs))
        return false;
    Warehouses warehouses(m_db);
    const std::optional<QVariantMap> record = warehouses.find(idMagazzino);
    if (!record) {
        m_dialogs.information(QStringLiteral("Il magazzino selezionato non esiste più"));
        refresh();
        return false;
    }
    const QString why = refusal(idMagazzino, record->value(QStringLiteral("Descrizione")).toString());
    if (!why.isEmpty()) {
        m_dialogs.warning(why);
        return false;
    }
    if (!m_dialogs.confirm(QStringLiteral("Sei sicuro di voler eliminare il magazzino selezionato?")))
        return false;
    warehouses.remove(idMagazzino);
    refresh();
    return true;
}

} // namespace carvendo::stock
