#include "foundation/Azienda.h"

#include "core/CommandGuard.h"
#include "core/ConnectionIni.h"
#include "core/Dialogs.h"
#include "core/Navigator.h"
#include "core/OperatorPassword.h"
#include "core/Paths.h"
#include "core/SchemaUpgrade.h"
#include "core/Session.h"

namespace carvendo::foundation {

namespace {

const QString FirstWarehouseName = QStringLiteral("MAGAZZINO CENTRALE");

} // namespace

Azienda::Azienda(core::Connections& connections, core::Session& session, const core::Paths& paths,
                 core::Dialogs& dialogs, core::Navigator& navigator, core::JobRunner runner)
    : m_connections(connections), m_session(session), m_paths(paths), m_dialogs(dialogs),
      m_navigator(navigator), m_runner(std::move(runner))
{
}

core::CompanyDirectory Azienda::directory()
{
    return core::CompanyDirectory(m_connections.directory());
}

bool Azienda::ensureDirectorySettings()
{
    core::DirectorySettings settings = core::ConnectionIni(m_paths.connessioneIni()).directory();
    if (!settings.isComplete()) {
        // Nothing to reach the directory with: the server window comes first, with the defaults.
        m_navigator.open(QStringLiteral("TImpostazioniServer"), {}, QStringLiteral("TAzienda"),
                         {{QStringLiteral("defaults"), true}});
        settings = core::ConnectionIni(m_paths.connessioneIni()).directory();
        if (!settings.isComplete())
            return false;
    }
    m_connections.setDirectorySettings(settings.connection());
    m_connections.setExchangeSettings(core::ConnectionIni(m_paths.connessioneIni()).portavia().connection());
    return true;
}

bool Azienda::start()
{
    // A directory out of reach or a settings file that cannot be read: the reason is shown and the
    // program ends the orderly way.
    bool started = false;
    core::runGuarded(m_dialogs, [&] {
        if (!ensureDirectorySettings())
            return;
        reloadCompanies();
        started = true;
    });
    return started;
}

void Azienda::reloadCompanies()
{
    m_companies = directory().list();
}

QString Azienda::selectedCompanyName() const
{
    for (const core::Row row : m_companies)
        if (row[u"id"].toInt() == m_companyId)
            return row[u"ragionesociale"].toString();
    return {};
}

QString Azienda::defaultWarehouse() const
{
    return core::ConnectionIni(m_paths.connessioneIni()).warehouse().name;
}

Azienda::Selection Azienda::selectCompany(int companyId)
{
    m_warehouses.clear();
    m_operators.clear();
    m_companyId = 0;
    try {
        const core::CompanyRecord record = directory().record(companyId);
        core::CompanyConnection connection{record.host, record.porta, record.username, record.password,
                                           record.databasename};
        m_connections.setCompanySettings(connection.settings());
        upgradeIfNeeded();
        if (!ensureWarehouse())
            return Selection::EndProgram;
        loadLoginLists();
        if (m_warehouses.isEmpty())
            return Selection::Failed; // the warehouse card was left without saving
        m_companyId = companyId;
        return Selection::Ready;
    } catch (const core::DbError& e) {
        m_dialogs.error(e.message());
        return Selection::Failed;
    }
}

void Azienda::upgradeIfNeeded()
{
    if (!core::needsUpgrade(m_connections.company()))
        return;
    m_dialogs.information(core::UpgradeWarning.toString());
    const core::ConnectionSettings settings = m_connections.companySettings();
    m_runner(QStringLiteral("Aggiornamento del database in corso..."),
             [settings](const std::function<void(int)>& progress) {
                 core::Db db(settings);
                 db.open();
                 core::upgrade(db, progress);
             });
}

bool Azienda::ensureWarehouse()
{
    if (!m_connections.company().query(QStringLiteral("SELECT idMagazzino FROM magazzini LIMIT 1")).isEmpty())
        return true;
    if (!m_dialogs.confirm(
            QStringLiteral("Per continuare è necessario avere almeno un magazzino, vuoi crearlo adesso?")))
        return false;
    m_navigator.open(QStringLiteral("TMagazzinoAnagrafica"), {}, QStringLiteral("TAzienda"),
                     {{QStringLiteral("descrizione"), FirstWarehouseName}});
    return true;
}

void Azienda::loadLoginLists()
{
    core::Db& db = m_connections.company();
    for (const core::Row row :
         db.query(QStringLiteral("SELECT Descrizione FROM magazzini ORDER BY idMagazzino")))
        m_warehouses << row[u"Descrizione"].toString();
    for (const core::Row row : db.query(QStringLiteral("SELECT username FROM utenti ORDER BY username")))
        m_operators << row[u"username"].toString();
}

bool Azienda::login(const QString& warehouse, const QString& username, const QString& password)
{
    if (warehouse.trimmed().isEmpty() || warehouse == QLatin1String(WarehousePlaceholder)) {
        m_dialogs.error(QStringLiteral("Selezionare un magazzino"));
        return false;
    }
    if (username.trimmed().isEmpty() || username == QLatin1String(OperatorPlaceholder)) {
        m_dialogs.error(QStringLiteral("Selezionare un utente"));
        return false;
    }
    try {
        core::Db& db = m_connections.company();
        const core::Rows store =
            db.query(QStringLiteral("SELECT * FROM magazzini WHERE descrizione = :DESCRIZIONE"),
                     {{"DESCRIZIONE", warehouse}});
        if (store.isEmpty()) {
            m_dialogs.error(QStringLiteral("Selezionare un magazzino"));
            return false;
        }
        const std::optional<core::Operator> who =
            core::checkOperatorPassword(db, username, password, warehouse);
        if (!who) {
            m_dialogs.error(QStringLiteral("Inserire la password")); // never tells which field was wrong
            return false;
        }
        const core::Rows group =
            db.query(QStringLiteral("SELECT * FROM gruppi WHERE DESCRIZIONE = :DESCRIZIONE"),
                     {{"DESCRIZIONE", who->nomepermesso}});
        const core::Privileges privileges =
            group.isEmpty() ? core::Privileges() : core::Privileges::fromGruppiRow(group.first());
        m_session.logIn(*who, core::Warehouse{store.first()[u"idMagazzino"].toInt(), warehouse}, privileges);
        directory().touchLastAccess(m_companyId);
        return true;
    } catch (const core::Error& e) { // the server, or hashing a legacy password
        m_dialogs.error(e.message());
        return false;
    }
}

void Azienda::createCompany()
{
    try {
        const int id = directory().addNewCompany();
        const core::NavigationResult card =
            m_navigator.open(QStringLiteral("TAziendaAnagrafica"), id, QStringLiteral("TAzienda"),
                             {{QStringLiteral("mode"), QStringLiteral("new")}});
        if (!card.accepted)
            directory().remove(id); // a new company left with "Annulla" leaves no empty row behind
        reloadCompanies();
    } catch (const core::DbError& e) {
        m_dialogs.error(e.message());
    }
}

void Azienda::viewCompany(int companyId)
{
    if (companyId <= 0)
        return;
    m_navigator.open(QStringLiteral("TAziendaAnagrafica"), companyId, QStringLiteral("TAzienda"),
                     {{QStringLiteral("mode"), QStringLiteral("view")}});
    try {
        reloadCompanies();
    } catch (const core::DbError& e) {
        m_dialogs.error(e.message());
    }
}

void Azienda::deleteCompany(int companyId)
{
    if (companyId <= 0 || !m_dialogs.confirm(QStringLiteral(" Eliminare l'azienda selezionata?")))
        return;
    try {
        directory().remove(companyId);
        reloadCompanies();
    } catch (const core::DbError& e) {
        m_dialogs.error(e.message());
    }
}

} // namespace carvendo::foundation
