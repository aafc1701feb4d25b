#pragma once

#include <QString>

#include <cstdint>

namespace carvendo::core {

class Row;

// One privilege flag of an operator group; each is a boolean column of `gruppi`.
enum class Privilege
{
    Pos,
    Carico,
    Fatturazione,
    Cat,
    Statistiche,
    FullAccess,
    Magazzino,
    Ddt,
    OrdiniFornitori,
    OrdiniClienti,
    Impostazioni,
    Scadenzario,
    Planner,
    Cancellazione,
    Aggiornamento,
};

// The `gruppi` column that holds the flag ("ordini_fornitori").
QString privilegeColumn(Privilege privilege);

// The flags of the logged-in operator's group, copied at login.
class Privileges
{
public:
    Privileges() = default; // nothing allowed

    // Reads every flag from a `gruppi` row by column name; a column the row lacks counts as not set.
    static Privileges fromGruppiRow(const Row& row);

    bool has(Privilege privilege) const { return (m_flags & bit(privilege)) != 0; }
    void set(Privilege privilege, bool on);

    // A command guarded by a flag runs when the group has `fullaccess` or that flag.
    bool allows(Privilege privilege) const { return has(Privilege::FullAccess) || has(privilege); }
    // Deleting records needs `fullaccess` or `cancellazione`.
    bool canDelete() const { return allows(Privilege::Cancellazione); }

    bool operator==(const Privileges&) const = default;

private:
    static std::uint32_t bit(Privilege privilege) { return std::uint32_t(1) << unsigned(privilege); }
    std::uint32_t m_flags = 0;
};

} // namespace carvendo::core
