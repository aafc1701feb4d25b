#pragma once

#include "Db.h"

#include <memory>

namespace carvendo::core {

// The connections of one workstation: the company directory and the chosen company. The window
// thread uses the two Db objects; a background job opens its own Db from the settings.
class Connections
{
public:
    void setDirectorySettings(const ConnectionSettings& settings);
    const ConnectionSettings& directorySettings() const { return m_directorySettings; }
    Db& directory(); // opened on first use

    void setCompanySettings(const ConnectionSettings& settings);
    bool hasCompany() const { return !m_companySettings.database.isEmpty(); }
    const ConnectionSettings& companySettings() const { return m_companySettings; }
    Db& company(); // opened on first use; throws DbError when no company is chosen

private:
    static Db& openOn(std::unique_ptr<Db>& db, const ConnectionSettings& settings);

    ConnectionSettings m_directorySettings;
    ConnectionSettings m_companySettings;
    std::unique_ptr<Db> m_directory;
    std::unique_ptr<Db> m_company;
};

} // namespace carvendo::core
