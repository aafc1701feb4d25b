#pragma once

#include "core/CompanyDirectory.h"
#include "core/Connections.h"
#include "core/LongJob.h"

namespace carvendo::core {
class Dialogs;
class Paths;
} // namespace carvendo::core

namespace carvendo::foundation {

// The company card: a company's data and the connection to its database. A new company can have
// its database made at once from the template script.
class AziendaAnagrafica
{
public:
    enum class Mode
    {
        New,
        View
    };

    AziendaAnagrafica(core::Connections& connections, const core::Paths& paths, core::Dialogs& dialogs,
                      int companyId, Mode mode, core::JobRunner runner = core::runHere);

    Mode mode() const { return m_mode; }
    const core::CompanyRecord& record() const { return m_record; }
    void setRecord(const core::CompanyRecord& record) { m_record = record; }
    bool createDatabase() const { return m_createDatabase; }
    void setCreateDatabase(bool create) { m_createDatabase = create; }

    // Saves the card (and in "new" mode makes the database when asked). True when the window may
    // close; otherwise the reason has been shown and the card stays open with nothing lost.
    bool save();

private:
    bool validate();
    void makeDatabase();

    core::Connections& m_connections;
    const core::Paths& m_paths;
    core::Dialogs& m_dialogs;
    Mode m_mode;
    core::JobRunner m_runner;
    core::CompanyRecord m_record;
    bool m_createDatabase;
};

} // namespace carvendo::foundation
