#include "foundation/ImpostazioniServer.h"

#include "core/CommandGuard.h"
#include "core/CompanyDirectory.h"
#include "core/Connections.h"
#include "core/Dialogs.h"
#include "core/EmbeddedServer.h"
#include "core/IniFile.h"
#include "core/Paths.h"
#include "core/Session.h"
#include "core/SqlText.h"

namespace carvendo::foundation {

namespace {

constexpr int HighestPort = 65535;

// The port as typed: nullopt when it is not a whole number.
std::optional<int> portNumber(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

} // namespace

ImpostazioniServer::ImpostazioniServer(const core::Paths& paths, core::Connections& connections,
                                       core::Session& session, core::EmbeddedServer& embedded,
                                       core::Dialogs& dialogs, core::JobRunner runner, QObject* parent)
    : QObject(parent), m_paths(paths), m_connections(connections), m_session(session), m_embedded(embedded),
      m_dialogs(dialogs), m_runner(std::move(runner))
{
    load();
}

QStringList ImpostazioniServer::machineTypes()
{
    return {core::machineTypeText(core::MachineType::Client),
            core::machineTypeText(core::MachineType::ClientServer)};
}

void ImpostazioniServer::load()
{
    core::DirectorySettings stored;
    try {
        m_dropboxPath = core::IniFile(m_paths.impostazioniIni()).value(u"DROPBOX", u"Path");
        stored = core::ConnectionIni(m_paths.connessioneIni()).directory();
    } catch (const core::IniFileError& e) {
        m_dialogs.error(e.message());
    }
    // An incomplete file is what a first start finds: offer this machine's embedded server.
    const core::DirectorySettings shown = stored.withDefaults();
    const auto type = core::machineTypeFromText(shown.machineType);
    m_fields = Fields{shown.server,        QString::number(shown.port),
                      shown.database,      shown.username,
                      shown.password,      type ? core::machineTypeText(*type) : QString(),
                      shown.shareOnNetwork};
}

void ImpostazioniServer::setFields(const Fields& fields)
{
    if (m_fields == fields)
        return;
    m_fields = fields;
    emit fieldsChanged();
}

void ImpostazioniServer::setField(QString Fields::*field, const QString& value)
{
    Fields changed = m_fields;
    changed.*field = value;
    setFields(changed);
}

void ImpostazioniServer::setServer(const QString& value)
{
    setField(&Fields::server, value);
}
void ImpostazioniServer::setPort(const QString& value)
{
    setField(&Fields::port, value);
}
void ImpostazioniServer::setDatabase(const QString& value)
{
    setField(&Fields::database, value);
}
void ImpostazioniServer::setUsername(const QString& value)
{
    setField(&Fields::username, value);
}
void ImpostazioniServer::setPassword(const QString& value)
{
    setField(&Fields::password, value);
}
void ImpostazioniServer::setMachineType(const QString& value)
{
    setField(&Fields::machineType, value);
}
void ImpostazioniServer::setShareOnNetwork(bool share)
{
    Fields changed = m_fields;
    changed.shareOnNetwork = share;
    setFields(changed);
}

QString ImpostazioniServer::validationMessage() const
{
    if (m_fields.server.trimmed().isEmpty())
        return QStringLiteral("Impostare nome server");
    if (m_fields.database.trimmed().isEmpty())
        return QStringLiteral("Impostare nome database");
    const auto port = portNumber(m_fields.port);
    if (m_fields.port.trimmed().isEmpty() || port == 0)
        return QStringLiteral("Impostare numero porta");
    // Checked before anything is written: a port that is not a number must not leave half a file.
    if (!port || *port < 0 || *port > HighestPort)
        return QStringLiteral("Numero porta non valido: inserire un numero intero da 1 a %1")
            .arg(HighestPort);
    if (m_fields.username.trimmed().isEmpty())
        return QStringLiteral("Impostare username");
    if (m_fields.password.isEmpty())
        return QStringLiteral("Impostare password");
    const auto type = core::machineTypeFromText(m_fields.machineType);
    if (!type)
        return QStringLiteral("Specificare tipo di macchina");
    // This workstation may have to create the directory database, and names go into SQL text.
    if (type == core::MachineType::ClientServer && !core::isPlainIdentifier(m_fields.database.trimmed()))
        return QStringLiteral("Nome database non valido: usare solo lettere, cifre e \"_\"");
    if (type == core::MachineType::ClientServer && m_fields.shareOnNetwork &&
        core::EmbeddedServer::hasDefaultPassword(settingsFromFields()))
        return core::EmbeddedServer::defaultPasswordRefusal();
    return {};
}

core::DirectorySettings ImpostazioniServer::settingsFromFields() const
{
    return core::DirectorySettings{
        m_fields.server.trimmed(),   *portNumber(m_fields.port),
        m_fields.database.trimmed(), m_fields.username.trimmed(),
        m_fields.password,           core::machineTypeText(*core::machineTypeFromText(m_fields.machineType)),
        m_fields.shareOnNetwork};
}

bool ImpostazioniServer::save()
{
    const QString problem = validationMessage();
    if (!problem.isEmpty()) {
        m_dialogs.information(problem);
        return false;
    }
    const core::DirectorySettings settings = settingsFromFields();
    const core::MachineType type = *core::machineTypeFromText(settings.machineType);
    const bool saved = core::runGuarded(m_dialogs, [&] {
        if (type == core::MachineType::ClientServer)
            m_runner(QStringLiteral("Preparazione del database delle aziende..."),
                     [&](const std::function<void(int)>&) { prepareDirectory(settings); });
        // The file is written once the server has taken the settings: it cannot be rolled back.
        core::ConnectionIni ini(
            m_paths.connessioneIni()); // read again: keep what other windows wrote meanwhile
        ini.setDirectory(settings);
        ini.save();
    });
    if (!saved)
        return false;
    m_connections.setDirectorySettings(settings.connection());
    m_session.setMachineType(type);
    return true;
}

void ImpostazioniServer::prepareDirectory(const core::DirectorySettings& settings)
{
    // On a workstation that hosts the server, nothing may answer yet at the first start.
    m_embedded.startIfNeeded(settings);
    core::Db server(settings.connection(false));
    server.open();
    core::CompanyDirectory::ensureDirectoryDatabase(server, settings.database);
}

} // namespace carvendo::foundation
