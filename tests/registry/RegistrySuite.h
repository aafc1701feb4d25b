#pragma once

#include "core/Db.h"
#include "core/Session.h"
#include "tests/support/RecordingNavigator.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"

#include <QString>

namespace carvendo::testing {

// A suite of registry tests: the company database, customers and suppliers put in by code and name,
// and the login, messages and navigator the registry's logic is handed.
template <typename Suite> class RegistrySuite : public CompanySuite<Suite>
{
protected:
    using Company = CompanySuite<Suite>;

    // A case starts with no customers and no suppliers, logged in by an operator who may delete.
    void SetUp() override
    {
        Company::emptyTables({"clienti", "fornitori"});
        logInAllowedToDelete();
    }

    // A customer with that code, name and tax codes, written through the connection given; its id.
    static int insertCustomer(int code, const QString& name, const QString& cf = {}, const QString& piva = {},
                              core::Db& on = Company::db())
    {
        return int(
            insertRow(on, QStringLiteral("clienti"),
                      {{"CodiceCliente", code}, {"RagioneSociale", name}, {"CodFisc", cf}, {"pIva", piva}}));
    }

    // A supplier with that code and name; its id.
    static int insertSupplier(const QString& code, const QString& name)
    {
        return Company::insert("fornitori", {{"Codice", code}, {"RagSoc", name}});
    }

    // An operator logged in who may, or may not, delete records.
    void logInAllowedToDelete(bool allowed = true)
    {
        core::Privileges privileges;
        privileges.set(core::Privilege::Cancellazione, allowed);
        m_session.logIn(core::Operator{}, core::Warehouse{}, privileges);
    }

    core::Session m_session;
    ScriptedDialogs m_dialogs;
    RecordingNavigator m_navigator;
};

} // namespace carvendo::testing
