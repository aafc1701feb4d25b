#pragma once

#include "core/Db.h"
#include "core/IniFile.h"

#include <QString>

#include <optional>

namespace carvendo::core {

// How this workstation reaches the server that holds the company directory
// (section `PARAMETRI CONNESSIONE SERVER LOCALE`).
struct DirectorySettings
{
    QString server;
    int port = 0;
    QString database;
    QString username;
    QString password;
    QString machineType; // "CLIENT" or "CLIENT/SERVER"
    // `CONDIVIDI_RETE`: the server this workstation hosts also serves the shop's other workstations.
    // Off unless set: the server then listens on this machine only.
    bool shareOnNetwork = false;

    // What a first start offers: the embedded server of this machine.
    static DirectorySettings defaults();

    // Server, database, user and password set and the port not 0: without them the company list
    // cannot be reached and the server window comes first.
    bool isComplete() const;
    // Every empty value (and a port of 0) replaced by its default; set values are kept.
    DirectorySettings withDefaults() const;
    // The directory connection; withDatabase false gives the bare server (to create the database).
    ConnectionSettings connection(bool withDatabase = true) const;

    bool operator==(const DirectorySettings&) const = default;
};

// The workstation's default warehouse (section `MAGAZZINO`).
struct WarehouseSettings
{
    int id = 0;     // `idMagazzino`
    QString name;   // `descrizione`
    QString letter; // `LET`

    bool operator==(const WarehouseSettings&) const = default;
};

// Session markers (section `SESSIONE`).
struct SessionMarkers
{
    int id = 0;
    bool started = false;

    bool operator==(const SessionMarkers&) const = default;
};

// Keys an installer or the shop writes by hand (section `Transfer`).
struct TransferSettings
{
    int automaticBackup = 0; // `Backup automatico`: 1 = closing also makes the safety dump
    QString connessione;     // `Connessione`: exactly "0" suppresses the splash screen

    bool backupOnClose() const { return automaticBackup == 1; }
    bool suppressesSplash() const { return connessione == u"0"; }
};

// The remote repair-ticket exchange (section `PARAMETRI CONNESSIONE PORTAVIA`).
struct PortaviaSettings
{
    QString server;
    int port = 0;
    QString database;
    QString username;
    QString password;
    bool enabled = false; // `ATTIVATO`
    int dealerId = 0;     // `IDRIVENDITORE`, never written by the program
    QString shopName;     // `RAGIONESOCIALE`, never written by the program

    bool operator==(const PortaviaSettings&) const = default;

    // How to reach the exchange database: nothing when no server or database is set.
    std::optional<ConnectionSettings> connection() const;
};

// connessione.ini of the data folder. A missing file or key reads as 0 / empty; writing creates the
// file, readable by its owner only because it holds passwords in clear. Lines the program does not
// touch (comments, keys of other tools) are kept as they are.
class ConnectionIni
{
public:
    explicit ConnectionIni(const QString& path); // throws IniFileError when the file cannot be read

    const QString& path() const { return m_ini.path(); }

    DirectorySettings directory() const;
    void setDirectory(const DirectorySettings& settings);

    WarehouseSettings warehouse() const;
    void setWarehouse(const WarehouseSettings& warehouse);

    SessionMarkers session() const;
    void setSession(const SessionMarkers& markers);

    TransferSettings transfer() const;

    PortaviaSettings portavia() const;
    // Writes what the exchange's settings window edits; the dealer number and name stay as they are.
    void setPortavia(const PortaviaSettings& settings);

    void save(); // throws IniFileError

private:
    IniFile m_ini;
};

} // namespace carvendo::core
