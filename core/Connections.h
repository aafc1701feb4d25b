#pragma once

#include "core/Db.h"

#include <memory>
#include <optional>

namespace carvendo::core {

// The connections of one workstation: the company directory, the chosen company and, when configured,
// the remote repair-ticket exchange (which also keeps the customers' web accounts). The window thread
// uses these Db objects; a background job opens its own Db from the settings.
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

    // The exchange database; nullopt settings when the workstation has none configured.
    void setExchangeSettings(const std::optional<ConnectionSettings>& settings);
    bool hasExchange() const { return m_exchangeSettings.has_value(); }
    Db& exchange(); // opened on first use; throws DbError when none is configured

private:
    static Db& openOn(std::unique_ptr<Db>& db, const ConnectionSettings& settings);

    ConnectionSettings m_directorySettings;
    ConnectionSettings m_companySettings;
    std::unique_ptr<Db> m_directory;
    std::unique_ptr<Db> m_company;
    std::optional<ConnectionSettings> m_exchangeSettings;
    std::unique_ptr<Db> m_exchange;
};

} // namespace carvendo::core
