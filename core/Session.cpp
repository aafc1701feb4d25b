#include "core/Session.h"

#include "core/Dialogs.h"
#include "core/Rows.h"

namespace carvendo::core {

QString machineTypeText(MachineType type)
{
    return type == MachineType::Client ? QStringLiteral("CLIENT") : QStringLiteral("CLIENT/SERVER");
}

std::optional<MachineType> machineTypeFromText(QStringView text)
{
    for (MachineType type : {MachineType::Client, MachineType::ClientServer})
        if (text.trimmed().compare(machineTypeText(type), Qt::CaseInsensitive) == 0)
            return type;
    return std::nullopt;
}

Operator Operator::fromUtentiRow(const Row& row)
{
    return Operator{row.value(u"id").toInt(), row.value(u"nome").toString(),
                    row.value(u"username").toString(), row.value(u"password").toString(),
                    row.value(u"nomepermesso").toString()};
}

Session::Session(MachineType machineType, QObject* parent) : QObject(parent), m_machineType(machineType) {}

void Session::logIn(const Operator& who, const Warehouse& where, const Privileges& privileges)
{
    m_loggedIn = true;
    m_operator = who;
    m_warehouse = where;
    m_privileges = privileges;
    emit loginChanged();
}

void Session::logOut()
{
    m_loggedIn = false;
    m_operator = {};
    m_warehouse = {};
    m_privileges = {};
    emit loginChanged();
}

bool requirePrivilege(const Session& session, Privilege privilege, Dialogs& dialogs)
{
    if (session.allows(privilege))
        return true;
    dialogs.information(QStringLiteral("Non possiedi i privilegi per eseguire questa operazione"));
    return false;
}

} // namespace carvendo::core
