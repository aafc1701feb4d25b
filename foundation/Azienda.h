#pragma once

#include "core/CompanyDirectory.h"
#include "core/Connections.h"
#include "core/LongJob.h"
#include "core/Rows.h"

#include <QString>
#include <QStringList>

namespace carvendo::core {
class Dialogs;
class Navigator;
class Paths;
class Session;
} // namespace carvendo::core

namespace carvendo::foundation {

// The company list and login window: reach the company directory, choose a company (bringing
// its database up to the program's schema and making sure it has a warehouse), and log an operator
// in to a warehouse.
class Azienda
{
public:
    static constexpr const char* WarehousePlaceholder = "Seleziona magazzino...";
    static constexpr const char* OperatorPlaceholder = "Seleziona utente...";

    Azienda(core::Connections& connections, core::Session& session, const core::Paths& paths,
            core::Dialogs& dialogs, core::Navigator& navigator, core::JobRunner runner = core::runHere);

    // Reads the directory settings (the server window first when they are incomplete) and lists the
    // companies. False when the directory cannot be reached: the reason has been shown.
    bool start();
    const core::Rows& companies() const { return m_companies; }
    void reloadCompanies();

    enum class Selection
    {
        Ready,
        EndProgram,
        Failed
    };
    // Points the company connection at the chosen company, upgrades its schema when its version
    // differs, asks for a first warehouse when it has none, and fills the two login lists.
    Selection selectCompany(int companyId);
    int selectedCompany() const { return m_companyId; }
    QString selectedCompanyName() const;
    const QStringList& warehouses() const { return m_warehouses; }
    const QStringList& operators() const { return m_operators; }
    // The workstation's own warehouse (connessione.ini), to preselect.
    QString defaultWarehouse() const;

    // True when the operator is logged in; otherwise the reason has been shown.
    bool login(const QString& warehouse, const QString& username, const QString& password);

    void createCompany();              // "Crea nuova azienda"
    void viewCompany(int companyId);   // "Visualizza azienda"
    void deleteCompany(int companyId); // "Elimina azienda"

private:
    core::CompanyDirectory directory();
    bool ensureDirectorySettings();
    void upgradeIfNeeded();
    bool ensureWarehouse();
    void loadLoginLists();

    core::Connections& m_connections;
    core::Session& m_session;
    const core::Paths& m_paths;
    core::Dialogs& m_dialogs;
    core::Navigator& m_navigator;
    core::JobRunner m_runner;
    core::Rows m_companies;
    int m_companyId = 0;
    QStringList m_warehouses;
    QStringList m_operators;
};

} // namespace carvendo::foundation
