#include "foundation/AziendaAnagrafica.h"

#include "core/CompanyDatabase.h"
#include "core/Dialogs.h"
#include "core/Paths.h"
#include "core/SqlText.h"

namespace carvendo::foundation {

AziendaAnagrafica::AziendaAnagrafica(core::Connections& connections, const core::Paths& paths,
                                     core::Dialogs& dialogs, int companyId, Mode mode, core::JobRunner runner)
    : m_connections(connections), m_paths(paths), m_dialogs(dialogs), m_mode(mode),
      m_runner(std::move(runner)), m_createDatabase(mode == Mode::New)
{
    m_record = core::CompanyDirectory(m_connections.directory()).record(companyId);
}

bool AziendaAnagrafica::validate()
{
    if (m_record.ragionesociale.trimmed().isEmpty()) {
        m_dialogs.information(QStringLiteral("Inserire la ragione sociale"));
        return false;
    }
    if (m_mode == Mode::New && m_createDatabase) {
        if (m_record.databasename.trimmed().isEmpty()) {
            m_dialogs.information(QStringLiteral("Inserire il nome del database"));
            return false;
        }
        if (!core::isPlainIdentifier(m_record.databasename)) {
            m_dialogs.information(
                QStringLiteral("Nome del database non valido: usare solo lettere, cifre e il carattere _"));
            return false;
        }
    }
    return true;
}

bool AziendaAnagrafica::save()
{
    if (!validate())
        return false;
    try {
        core::CompanyDirectory(m_connections.directory()).save(m_record);
        if (m_mode == Mode::New && m_createDatabase)
            makeDatabase();
        return true;
    } catch (const core::DbError& e) {
        m_dialogs.error(e.message());
        return false;
    }
}

void AziendaAnagrafica::makeDatabase()
{
    core::ConnectionSettings server =
        core::CompanyConnection{m_record.host, m_record.porta, m_record.username, m_record.password, {}}
            .settings();
    server.database.clear();
    const QString name = m_record.databasename;
    const QString templatePath = m_paths.dbTemplate();
    m_runner(QStringLiteral("Creazione del database %1 in corso...").arg(name),
             [server, name, templatePath](const std::function<void(int)>& progress) {
                 core::Db db(server);
                 db.open();
                 core::createCompanyDatabase(db, name, templatePath, [&](int done, int total) {
                     progress(total > 0 ? done * 100 / total : 100);
                 });
             });
}

} // namespace carvendo::foundation
