#pragma once

#include "core/Db.h"
#include "core/Error.h"

#include <QString>

#include <stdexcept>

namespace carvendo::core {

class LocalServerError : public Error
{
public:
    using Error::Error;
};

struct LocalServerConfig
{
    QString folder; // everything lives here: my.cnf, data/, socket, pid, error.log
    int port = 3307;
    QString rootPassword;
    // The account the workstations use, with rootPassword. On this machine it has every right; from
    // the network (openNetworkAccess) only the databases it is given.
    QString user = QStringLiteral("root");
    // The server also serves the shop's other workstations: it listens on every network interface.
    // Otherwise (the default) it listens on this machine only and nobody may connect from elsewhere.
    bool lanAccess = false;
    bool durable = true; // false trades crash safety for speed (throw-away test servers)
    QString serverProgram = QStringLiteral("/usr/sbin/mariadbd");
    QString installProgram = QStringLiteral("/usr/bin/mariadb-install-db");
};

// A private MariaDB server in a folder of ours: the embedded server of a "CLIENT/SERVER" workstation
// and the server the tests run against. Table names are case-insensitive, as on the shops' Windows servers.
class LocalServer
{
public:
    explicit LocalServer(LocalServerConfig config);

    const LocalServerConfig& config() const { return m_config; }
    QString socketPath() const;
    QString pidFile() const;
    QString errorLog() const;

    bool isInitialised() const;
    // Creates the data folder and the accounts of this machine (root and the configured user, at
    // localhost and 127.0.0.1) with the password.
    void initialise();
    // Starts the server in the background (initialising on first use) and waits until it answers.
    // Any account that may connect from another host is removed: the network is opened only by
    // openNetworkAccess(), each time the server starts.
    void start(int timeoutMs = 60000);
    // Lets the configured user connect from any host, with every right on these databases and none
    // elsewhere (no server administration, no granting). Needs lanAccess and a running server.
    void openNetworkAccess(const QStringList& databases);
    void waitUntilReady(int timeoutMs);
    // Asks the server to stop and waits for it to go. Does nothing when it is not running.
    void stop(int timeoutMs = 60000);
    bool isRunning() const;

    // Root over TCP on 127.0.0.1.
    ConnectionSettings rootSettings() const;

    static int findFreePort();

private:
    void writeConfigFile() const;
    qint64 runningPid() const;
    qint64 launch() const;
    ConnectionSettings socketSettings() const;
    QString networkUser() const;
    void closeNetworkAccess();
    QString lastLogLines() const;

    LocalServerConfig m_config;
};

} // namespace carvendo::core
