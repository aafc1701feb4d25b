#pragma once

#include "CompanyDirectory.h"
#include "Connections.h"
#include "LongJob.h"

namespace carvendo::core {

class Dialogs;
class Paths;

// The company card: a company's data and the connection to its database. A new company can have
// its database made at once from the template script.
class AziendaAnagrafica
{
public:
    enum class Mode { New, View };

    AziendaAnagrafica(Connections& connections, const Paths& paths, Dialogs& dialogs, int companyId, Mode mode,
                      JobRunner runner = runHere);

    Mode mode() const { return m_mode; }
    const CompanyRecord& record() const { return m_record; }
    void setRecord(const CompanyRecord& record) { m_record = record; }
    bool createDatabase() const { return m_createDatabase; }
    void setCreateDatabase(bool create) { m_createDatabase = create; }

    // Saves the card (and in "new" mode makes the database when asked). True when the window may
    // close; otherwise the reason has been shown and the card stays open with nothing lost.
    bool save();

private:
    bool validate();
    void makeDatabase();

    Connections& m_connections;
    const Paths& m_paths;
    Dialogs& m_dialogs;
    Mode m_mode;
    JobRunner m_runner;
    CompanyRecord m_record;
    bool m_createDatabase;
};

} // namespace carvendo::core
