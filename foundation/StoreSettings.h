#pragma once

#include "core/Db.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace carvendo::foundation {

// The online store link (the single `vm_store` row): how to reach the store's database and how each
// kind of data is synchronised.
struct StoreConnection
{
    QString host;
    QString port;
    QString username;
    QString password;
    QString prefix;   // `conn_prefisso`, the store tables' prefix
    QString database; // `dbname`
    QString catalogoMode;
    QString ordiniMode;
    QString clientiMode;

    // The settings of a connection with these values; a port that is not a number gives nullopt.
    std::optional<core::ConnectionSettings> connectionSettings() const;

    bool operator==(const StoreConnection&) const = default;
};

class StoreSettings
{
public:
    static const QString Manual;    // "Manualmente"
    static const QString Automatic; // "In automatico"
    static QStringList syncModes();

    explicit StoreSettings(core::Db& company) : m_db(company) {}

    StoreConnection load();
    // Throws LookupError for a refused value, DbError when writing fails.
    void save(const StoreConnection& store);

    // Whether the store's server answers with these values (nothing is written).
    static bool canConnect(const StoreConnection& store);

private:
    core::Db& m_db;
};

} // namespace carvendo::foundation
