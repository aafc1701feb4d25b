#pragma once

#include "core/ConnectionIni.h"
#include "core/Db.h"
#include "core/LocalServer.h"

#include <QString>

#include <memory>

namespace carvendo::core {

// The server a "CLIENT/SERVER" workstation hosts itself. When the directory connection points at
// this machine and nothing answers there, a private MariaDB is started with its data in the data
// folder, on the configured port with the configured root password (set when it is first
// initialised). It is stopped at the end only when this object started it: a server that was
// already running belongs to someone else.
//
// It listens on this machine only, unless the settings share it with the shop's other workstations
// (`CONDIVIDI_RETE`): then it listens on the network too, and the configured user may connect from
// there with rights on the directory and company databases only. Never with the default password,
// which every copy of the program knows.
class EmbeddedServer
{
public:
    struct Options
    {
        QString folder;          // where the server keeps its files (Paths::serverDir())
        bool durable = true;     // false only for throw-away servers (tests)
        bool lanAccess = true;   // false keeps the server on this machine whatever the settings say
        QString serverProgram{}; // empty: LocalServer's default
        QString installProgram{};
    };

    explicit EmbeddedServer(Options options);
    ~EmbeddedServer(); // stops the server when it started it; never throws
    EmbeddedServer(const EmbeddedServer&) = delete;
    EmbeddedServer& operator=(const EmbeddedServer&) = delete;

    // localhost, 127.0.0.1, ::1 and this machine's host name, letter case ignored.
    static bool isThisMachine(const QString& host);
    // True when a MySQL server answers at the address, even one that refuses the account.
    static bool answers(const ConnectionSettings& settings);

    // Whether the workstation should host the directory server itself: "CLIENT/SERVER", the directory
    // on this machine, and nothing answering there.
    static bool isNeeded(const DirectorySettings& directory);

    // The password every new installation starts with: a server shared on the network must not have it.
    static bool hasDefaultPassword(const DirectorySettings& directory);
    static QString defaultPasswordRefusal();
    // What the configured user may reach from the network: the directory database, the databases it
    // lists, and the names offered for new companies.
    static QStringList sharedDatabases(Db& server, const QString& directoryDatabase);

    // Starts the server when isNeeded(); returns true when it did. Throws LocalServerError.
    bool startIfNeeded(const DirectorySettings& directory);
    // Starts the server for these settings regardless of the policy (the admin tool's start-server).
    // A server already running in the folder is left alone and not counted as started here.
    // Refuses (LocalServerError) to share it on the network with the default password.
    void start(const DirectorySettings& directory);
    // Stops the server when this object started it.
    void stopIfStarted();
    // Leaves the server this object started running after it goes (the admin tool's start-server).
    void keepRunning();

    bool startedHere() const { return m_started; }
    // How long the last start took, initialising included; -1 before any start.
    qint64 lastStartMilliseconds() const { return m_lastStartMs; }
    bool lastStartInitialised() const { return m_lastStartInitialised; }
    const Options& options() const { return m_options; }

    // The private server of this folder for these settings, to stop a server left by another run.
    LocalServer serverFor(const DirectorySettings& directory) const;

private:
    bool sharesOnNetwork(const DirectorySettings& directory) const;

    Options m_options;
    std::unique_ptr<LocalServer> m_server;
    bool m_started = false;
    qint64 m_lastStartMs = -1;
    bool m_lastStartInitialised = false;
};

} // namespace carvendo::core
