#pragma once

#include "core/Privileges.h"
#include "core/SchemaUpgrade.h"

#include <QObject>
#include <QString>
#include <QStringView>

#include <optional>

namespace carvendo::core {

class Dialogs;
class Row;

// Whether this workstation only reaches the server (CLIENT) or also hosts it (CLIENT/SERVER).
enum class MachineType
{
    Client,
    ClientServer
};

// The text kept in connessione.ini (`TYPE_MACHINE`) and shown in the settings window.
QString machineTypeText(MachineType type);
// "CLIENT" or "CLIENT/SERVER", blanks and letter case ignored; anything else gives nullopt.
std::optional<MachineType> machineTypeFromText(QStringView text);

// The logged-in operator, as read from `utenti` at login.
struct Operator
{
    int id = 0;
    QString nome;
    QString username;
    QString password;
    QString nomepermesso; // the group, `gruppi`.`descrizione`

    static Operator fromUtentiRow(const Row& row);
    bool operator==(const Operator&) const = default;
};

// The warehouse chosen at login: every document, movement and receipt copies it.
struct Warehouse
{
    int id = 0;
    QString name; // `magazzini`.`descrizione`
    bool operator==(const Warehouse&) const = default;
};

// The login state shared by every window of one program run: who is working, in which warehouse,
// with which group privileges, on which kind of workstation. One object, made at start-up and
// handed to each window; no window keeps its own copy.
class Session : public QObject
{
    Q_OBJECT

public:
    // The schema version this program expects of a company database (`versione`.`VersioneDB`).
    static QString schemaVersion() { return SchemaVersion.toString(); }

    explicit Session(MachineType machineType = MachineType::ClientServer, QObject* parent = nullptr);

    MachineType machineType() const { return m_machineType; }
    void setMachineType(MachineType type) { m_machineType = type; }

    void logIn(const Operator& who, const Warehouse& where, const Privileges& privileges);
    void logOut(); // back to no operator, no warehouse, nothing allowed

    bool isLoggedIn() const { return m_loggedIn; }
    const Operator& currentOperator() const { return m_operator; }
    const Warehouse& warehouse() const { return m_warehouse; }
    const Privileges& privileges() const { return m_privileges; }

    bool allows(Privilege privilege) const { return m_privileges.allows(privilege); }
    bool canDelete() const { return m_privileges.canDelete(); }

signals:
    void loginChanged();

private:
    MachineType m_machineType;
    bool m_loggedIn = false;
    Operator m_operator;
    Warehouse m_warehouse;
    Privileges m_privileges;
};

// The gate in front of a guarded command: true when the operator may run it, otherwise tells them
// "Non possiedi i privilegi per eseguire questa operazione" and returns false.
bool requirePrivilege(const Session& session, Privilege privilege, Dialogs& dialogs);

} // namespace carvendo::core
