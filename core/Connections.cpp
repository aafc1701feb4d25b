#include "core/Connections.h"

namespace carvendo::core {

void Connections::setDirectorySettings(const ConnectionSettings& settings)
{
    m_directorySettings = settings;
    m_directory.reset();
}

Db& Connections::directory()
{
    return openOn(m_directory, m_directorySettings);
}

void Connections::setCompanySettings(const ConnectionSettings& settings)
{
    m_companySettings = settings;
    m_company.reset();
}

Db& Connections::company()
{
    if (!hasCompany())
        throw DbError(QStringLiteral("Nessuna azienda selezionata"));
    return openOn(m_company, m_companySettings);
}

void Connections::setExchangeSettings(const std::optional<ConnectionSettings>& settings)
{
    m_exchangeSettings = settings;
    m_exchange.reset();
}

Db& Connections::exchange()
{
    if (!m_exchangeSettings)
        throw DbError(QStringLiteral("Connessione Portavia non configurata"));
    return openOn(m_exchange, *m_exchangeSettings);
}

Db& Connections::openOn(std::unique_ptr<Db>& db, const ConnectionSettings& settings)
{
    if (!db) {
        auto opened = std::make_unique<Db>(settings);
        opened->open();
        db = std::move(opened);
    }
    return *db;
}

} // namespace carvendo::core
