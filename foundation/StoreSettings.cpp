#include "foundation/StoreSettings.h"

#include "foundation/LookupTables.h"

namespace carvendo::foundation {

const QString StoreSettings::Manual = QStringLiteral("Manualmente");
const QString StoreSettings::Automatic = QStringLiteral("In automatico");

QStringList StoreSettings::syncModes()
{
    return {Manual, Automatic};
}

std::optional<core::ConnectionSettings> StoreConnection::connectionSettings() const
{
    bool isNumber = false;
    const int number = port.trimmed().toInt(&isNumber);
    if (!isNumber || number < 1 || number > 65535)
        return std::nullopt;
    core::ConnectionSettings settings;
    settings.host = host.trimmed();
    settings.port = number;
    settings.user = username.trimmed();
    settings.password = password;
    settings.database = database.trimmed();
    settings.connectTimeoutSeconds = 5;
    return settings;
}

StoreConnection StoreSettings::load()
{
    StoreConnection store;
    store.catalogoMode = store.ordiniMode = store.clientiMode = Manual;
    const core::Rows rows = m_db.query(QStringLiteral("SELECT * FROM vm_store LIMIT 1"));
    if (rows.isEmpty())
        return store;
    const core::Row row = rows.first();
    store.host = row[u"conn_host"].toString();
    store.port = row[u"conn_port"].toString();
    store.username = row[u"conn_username"].toString();
    store.password = row[u"conn_password"].toString();
    store.prefix = row[u"conn_prefisso"].toString();
    store.database = row[u"dbname"].toString();
    const auto mode = [](const core::Field& field) {
        return field.toString() == StoreSettings::Automatic ? StoreSettings::Automatic
                                                            : StoreSettings::Manual;
    };
    store.catalogoMode = mode(row[u"catalogo_mode"]);
    store.ordiniMode = mode(row[u"ordini_mode"]);
    store.clientiMode = mode(row[u"clienti_mode"]);
    return store;
}

void StoreSettings::save(const StoreConnection& store)
{
    requireFits(QStringLiteral("Host"), store.host.trimmed(), 20);
    requireFits(QStringLiteral("Username"), store.username.trimmed(), 50);
    requireFits(QStringLiteral("Password"), store.password, 50);
    requireFits(QStringLiteral("Prefisso tabelle"), store.prefix.trimmed(), 20);
    requireFits(QStringLiteral("Database"), store.database.trimmed(), 50);
    // The column holds four characters: ports above 9999 cannot be kept.
    bool isNumber = false;
    const int port = store.port.trimmed().toInt(&isNumber);
    if (!store.port.trimmed().isEmpty() && (!isNumber || port < 1 || port > 9999))
        throw LookupError(QStringLiteral("Inserire un numero di porta valido (da 1 a 9999)"));
    for (const QString& mode : {store.catalogoMode, store.ordiniMode, store.clientiMode})
        if (!syncModes().contains(mode))
            throw LookupError(QStringLiteral("Scegliere \"Manualmente\" o \"In automatico\""));

    const core::Params values{{QStringLiteral("HOST"), store.host.trimmed()},
                              {QStringLiteral("PORT"), store.port.trimmed()},
                              {QStringLiteral("USERNAME"), store.username.trimmed()},
                              {QStringLiteral("PASSWORD"), store.password},
                              {QStringLiteral("PREFISSO"), store.prefix.trimmed()},
                              {QStringLiteral("DBNAME"), store.database.trimmed()},
                              {QStringLiteral("CATALOGO"), store.catalogoMode},
                              {QStringLiteral("ORDINI"), store.ordiniMode},
                              {QStringLiteral("CLIENTI"), store.clientiMode}};
    core::Transaction transaction(m_db);
    if (m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM vm_store")).toInt() == 0)
        m_db.exec(
            QStringLiteral("INSERT INTO vm_store (conn_host, conn_port, conn_username, conn_password, "
                           "conn_prefisso, dbname, catalogo_mode, ordini_mode, clienti_mode, attivo) VALUES "
                           "(:HOST, :PORT, :USERNAME, :PASSWORD, :PREFISSO, :DBNAME, :CATALOGO, :ORDINI, "
                           ":CLIENTI, 0)"),
            values);
    else
        m_db.exec(QStringLiteral(
                      "UPDATE vm_store SET conn_host = :HOST, conn_port = :PORT, conn_username = :USERNAME, "
                      "conn_password = :PASSWORD, conn_prefisso = :PREFISSO, dbname = :DBNAME, "
                      "catalogo_mode = :CATALOGO, ordini_mode = :ORDINI, clienti_mode = :CLIENTI"),
                  values);
    transaction.commit();
}

bool StoreSettings::canConnect(const StoreConnection& store)
{
    const auto settings = store.connectionSettings();
    if (!settings || settings->host.isEmpty())
        return false;
    try {
        core::Db db(*settings);
        db.open();
        db.scalar(QStringLiteral("SELECT 1"));
        return true;
    } catch (const core::DbError&) {
        return false;
    }
}

} // namespace carvendo::foundation
