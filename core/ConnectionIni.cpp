#include "core/ConnectionIni.h"

namespace carvendo::core {

namespace {

constexpr QStringView ServerSection = u"PARAMETRI CONNESSIONE SERVER LOCALE";
constexpr QStringView WarehouseSection = u"MAGAZZINO";
constexpr QStringView SessionSection = u"SESSIONE";
constexpr QStringView TransferSection = u"Transfer";
constexpr QStringView PortaviaSection = u"PARAMETRI CONNESSIONE PORTAVIA";

QString orDefault(const QString& value, const QString& fallback)
{
    return value.trimmed().isEmpty() ? fallback : value;
}

} // namespace

DirectorySettings DirectorySettings::defaults()
{
    return DirectorySettings{QStringLiteral("localhost"), 3307,
                             QStringLiteral("aziende"),   QStringLiteral("root"),
                             QStringLiteral("480117"),    QStringLiteral("CLIENT/SERVER")};
}

bool DirectorySettings::isComplete() const
{
    return !server.trimmed().isEmpty() && !database.trimmed().isEmpty() && !username.trimmed().isEmpty() &&
           !password.isEmpty() && port != 0;
}

DirectorySettings DirectorySettings::withDefaults() const
{
    const DirectorySettings fallback = defaults();
    return DirectorySettings{orDefault(server, fallback.server),
                             port == 0 ? fallback.port : port,
                             orDefault(database, fallback.database),
                             orDefault(username, fallback.username),
                             orDefault(password, fallback.password),
                             orDefault(machineType, fallback.machineType),
                             shareOnNetwork};
}

ConnectionSettings DirectorySettings::connection(bool withDatabase) const
{
    ConnectionSettings settings;
    settings.host = server;
    settings.port = port;
    settings.user = username;
    settings.password = password;
    if (withDatabase)
        settings.database = database;
    return settings;
}

ConnectionIni::ConnectionIni(const QString& path) : m_ini(path) {}

DirectorySettings ConnectionIni::directory() const
{
    return DirectorySettings{
        m_ini.value(ServerSection, u"SERVER_AZ"),         m_ini.intValue(ServerSection, u"PORTA_AZ"),
        m_ini.value(ServerSection, u"DATABASE_AZ"),       m_ini.value(ServerSection, u"USERNAME_AZ"),
        m_ini.value(ServerSection, u"PASSWORD_AZ"),       m_ini.value(ServerSection, u"TYPE_MACHINE"),
        m_ini.boolValue(ServerSection, u"CONDIVIDI_RETE")};
}

void ConnectionIni::setDirectory(const DirectorySettings& settings)
{
    m_ini.setValue(ServerSection, u"SERVER_AZ", settings.server);
    m_ini.setIntValue(ServerSection, u"PORTA_AZ", settings.port);
    m_ini.setValue(ServerSection, u"DATABASE_AZ", settings.database);
    m_ini.setValue(ServerSection, u"USERNAME_AZ", settings.username);
    m_ini.setValue(ServerSection, u"PASSWORD_AZ", settings.password);
    m_ini.setValue(ServerSection, u"TYPE_MACHINE", settings.machineType);
    m_ini.setBoolValue(ServerSection, u"CONDIVIDI_RETE", settings.shareOnNetwork);
}

WarehouseSettings ConnectionIni::warehouse() const
{
    return WarehouseSettings{m_ini.intValue(WarehouseSection, u"ID"),
                             m_ini.value(WarehouseSection, u"MAGAZZINO"),
                             m_ini.value(WarehouseSection, u"LET")};
}

void ConnectionIni::setWarehouse(const WarehouseSettings& warehouse)
{
    m_ini.setIntValue(WarehouseSection, u"ID", warehouse.id);
    m_ini.setValue(WarehouseSection, u"MAGAZZINO", warehouse.name);
    m_ini.setValue(WarehouseSection, u"LET", warehouse.letter);
}

SessionMarkers ConnectionIni::session() const
{
    return SessionMarkers{m_ini.intValue(SessionSection, u"IDSESSIONE"),
                          m_ini.boolValue(SessionSection, u"SESSIONE_AVVIATA")};
}

void ConnectionIni::setSession(const SessionMarkers& markers)
{
    m_ini.setIntValue(SessionSection, u"IDSESSIONE", markers.id);
    m_ini.setBoolValue(SessionSection, u"SESSIONE_AVVIATA", markers.started);
}

TransferSettings ConnectionIni::transfer() const
{
    return TransferSettings{m_ini.intValue(TransferSection, u"Backup automatico"),
                            m_ini.value(TransferSection, u"Connessione")};
}

PortaviaSettings ConnectionIni::portavia() const
{
    return PortaviaSettings{
        m_ini.value(PortaviaSection, u"SERVER"),           m_ini.intValue(PortaviaSection, u"PORTA"),
        m_ini.value(PortaviaSection, u"DATABASE"),         m_ini.value(PortaviaSection, u"USERNAME"),
        m_ini.value(PortaviaSection, u"PASSWORD"),         m_ini.boolValue(PortaviaSection, u"ATTIVATO"),
        m_ini.intValue(PortaviaSection, u"IDRIVENDITORE"), m_ini.value(PortaviaSection, u"RAGIONESOCIALE")};
}

std::optional<ConnectionSettings> PortaviaSettings::connection() const
{
    if (server.trimmed().isEmpty() || database.trimmed().isEmpty())
        return std::nullopt;
    ConnectionSettings settings;
    settings.host = server.trimmed();
    settings.port = port > 0 ? port : 3306; // the server's usual port when none is written
    settings.user = username;
    settings.password = password;
    settings.database = database.trimmed();
    return settings;
}

void ConnectionIni::setPortavia(const PortaviaSettings& settings)
{
    m_ini.setValue(PortaviaSection, u"SERVER", settings.server);
    m_ini.setIntValue(PortaviaSection, u"PORTA", settings.port);
    m_ini.setValue(PortaviaSection, u"DATABASE", settings.database);
    m_ini.setValue(PortaviaSection, u"USERNAME", settings.username);
    m_ini.setValue(PortaviaSection, u"PASSWORD", settings.password);
    m_ini.setBoolValue(PortaviaSection, u"ATTIVATO", settings.enabled);
}

void ConnectionIni::save()
{
    m_ini.save(IniFile::Permissions::OwnerOnly);
}

} // namespace carvendo::core
