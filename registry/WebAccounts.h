#pragma once

#include <QString>

#include <functional>

namespace carvendo::core {
class Connections;
class Db;
} // namespace carvendo::core

namespace carvendo::registry {

// The customers' web accounts: the `users` table of the remote repair-ticket exchange database,
// one row per customer keyed by the customer's id. The exchange connection is opened only when an
// account is touched; a workstation without one configured has no web accounts.
class WebAccounts
{
public:
    using Opener = std::function<core::Db&()>;

    WebAccounts() = default; // no exchange configured
    explicit WebAccounts(Opener openExchange) : m_open(std::move(openExchange)) {}
    // The workstation's exchange connection, when it has one.
    static WebAccounts of(core::Connections& connections);

    bool isConfigured() const { return bool(m_open); }

    // Each throws DbError when the exchange cannot be reached or refuses the statement.
    bool exists(int idUser);
    bool usernameTaken(const QString& username, int exceptIdUser);
    void create(int idUser, const QString& username, const QString& password);
    void update(int idUser, const QString& username, const QString& password);
    void remove(int idUser);

private:
    core::Db& db();

    Opener m_open;
};

} // namespace carvendo::registry
