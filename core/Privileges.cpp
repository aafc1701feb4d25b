#include "core/Privileges.h"

#include "core/Rows.h"

namespace carvendo::core {

namespace {

constexpr Privilege AllPrivileges[] = {
    Privilege::Pos,           Privilege::Carico,        Privilege::Fatturazione,
    Privilege::Cat,           Privilege::Statistiche,   Privilege::FullAccess,
    Privilege::Magazzino,     Privilege::Ddt,           Privilege::OrdiniFornitori,
    Privilege::OrdiniClienti, Privilege::Impostazioni,  Privilege::Scadenzario,
    Privilege::Planner,       Privilege::Cancellazione, Privilege::Aggiornamento,
};

} // namespace

QString privilegeColumn(Privilege privilege)
{
    switch (privilege) {
    case Privilege::Pos:
        return QStringLiteral("pos");
    case Privilege::Carico:
        return QStringLiteral("carico");
    case Privilege::Fatturazione:
        return QStringLiteral("fatturazione");
    case Privilege::Cat:
        return QStringLiteral("cat");
    case Privilege::Statistiche:
        return QStringLiteral("statistiche");
    case Privilege::FullAccess:
        return QStringLiteral("fullaccess");
    case Privilege::Magazzino:
        return QStringLiteral("magazzino");
    case Privilege::Ddt:
        return QStringLiteral("ddt");
    case Privilege::OrdiniFornitori:
        return QStringLiteral("ordini_fornitori");
    case Privilege::OrdiniClienti:
        return QStringLiteral("ordini_clienti");
    case Privilege::Impostazioni:
        return QStringLiteral("impostazioni");
    case Privilege::Scadenzario:
        return QStringLiteral("scadenzario");
    case Privilege::Planner:
        return QStringLiteral("planner");
    case Privilege::Cancellazione:
        return QStringLiteral("cancellazione");
    case Privilege::Aggiornamento:
        return QStringLiteral("aggiornamento");
    }
    Q_UNREACHABLE();
}

Privileges Privileges::fromGruppiRow(const Row& row)
{
    Privileges privileges;
    for (Privilege privilege : AllPrivileges) {
        const QString column = privilegeColumn(privilege);
        privileges.set(privilege, row.has(column) && row.value(column).toBool());
    }
    return privileges;
}

void Privileges::set(Privilege privilege, bool on)
{
    if (on)
        m_flags |= bit(privilege);
    else
        m_flags &= ~bit(privilege);
}

} // namespace carvendo::core
