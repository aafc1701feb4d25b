#pragma once

#include "CompanyDirectory.h"
#include "Connections.h"
#include "LongJob.h"
#include "Rows.h"

#include <QString>
#include <QStringList>

namespace carvendo::core {

class Dialogs;
class Navigator;
class Paths;
class Session;

// The company list and login window: reach the company directory, choose a company (bringing
// its database up to the program's schema and making sure it has a warehouse), and log an operator
// in to a warehouse.
class Azienda
{
public:
    static constexpr const char* WarehousePlaceholder = "Seleziona magazzino...";
    static constexpr const char* OperatorPlaceholder = "Seleziona utente...";

    Azienda(Connections& connections, Session& session, const Paths& paths, Dialogs& dialogs, Navigator& navigator,
            JobRunner runner = runHere);

    // Reads the directory settings (the server window first when they are incomplete) and lists the
    // companies. False when the directory cannot be reached: the reason has been shown.
    bool start();
    const Rows& companies() const { return m_companies; }
    void reloadCompanies();

    enum class Selection { Ready, EndProgram, Failed };
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

    void createCompany();        // "Crea nuova azienda"
    void viewCompany(int companyId); // "Visualizza azienda"
    void deleteCompany(int companyId); // "Elimina azienda"

private:
    CompanyDirectory directory();
    bool ensureDirectorySettings();
    void upgradeIfNeeded();
    bool ensureWarehouse();
    void loadLoginLists();

    Connections& m_connections;
    Session& m_session;
    const Paths& m_paths;
    Dialogs& m_dialogs;
    Navigator& m_navigator;
    JobRunner m_runner;
    Rows m_companies;
    int m_companyId = 0;
    QStringList m_warehouses;
    QStringList m_operators;
};

} // namespace carvendo::core
