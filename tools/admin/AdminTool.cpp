#include "tools/admin/AdminTool.h"

#include "core/IniFile.h"
#include "core/LocalServer.h"
#include "tools/admin/CompanyCommands.h"
#include "tools/admin/DumpCommands.h"
#include "tools/admin/ServerCommands.h"

namespace carvendo::admin {

AdminTool::AdminTool(core::Paths paths, const core::Clock& clock, QTextStream& out, QTextStream& err)
    : m_paths(std::move(paths)), m_clock(clock), m_out(out), m_err(err)
{
    m_commands.push_back(std::make_unique<ListCompaniesCommand>());
    m_commands.push_back(std::make_unique<CreateCompanyCommand>());
    m_commands.push_back(std::make_unique<UpgradeCommand>());
    m_commands.push_back(std::make_unique<BackupCommand>());
    m_commands.push_back(std::make_unique<RestoreCommand>());
    m_commands.push_back(std::make_unique<StartServerCommand>());
    m_commands.push_back(std::make_unique<StopServerCommand>());
}

AdminTool::~AdminTool() = default;

AdminCommand* AdminTool::find(const QString& name) const
{
    for (const auto& command : m_commands)
        if (command->name() == name)
            return command.get();
    return nullptr;
}

QString AdminTool::usage() const
{
    QString text = QStringLiteral("uso: carvendo-admin COMANDO [ARGOMENTI] [OPZIONI]\n\nComandi:\n");
    for (const auto& command : m_commands)
        text += QStringLiteral("  ") + command->synopsis().replace(u'\n', QStringLiteral("\n  ")) + u'\n';
    text += QStringLiteral(
        "\nNOME è il nome del database dell'azienda (colonna databasename di list-companies).\n"
        "\nOpzioni:\n"
        "  --data CARTELLA                cartella dei dati con connessione.ini (predefinita: "
        "$CARVENDO_DATA)\n"
        "  --host, --port, --user, --password, --directory VALORE\n"
        "                                 sostituiscono server, porta, utente, password e database delle\n"
        "                                 aziende di connessione.ini (la password sulla riga di comando è\n"
        "                                 visibile agli altri utenti: meglio lasciarla in connessione.ini)\n"
        "\nCodici di uscita: 0 riuscito, 1 non riuscito, 2 comando errato.\n");
    return text;
}

int AdminTool::run(const QStringList& words)
{
    try {
        const CommandLine line = CommandLine::parse(words);
        if (line.has(QStringLiteral("help")) || line.command() == u"help") {
            m_out << usage();
            return 0;
        }
        if (line.command().isEmpty())
            throw UsageError(QStringLiteral("Indicare un comando"));
        AdminCommand* command = find(line.command());
        if (!command)
            throw UsageError(QStringLiteral("Comando sconosciuto: %1").arg(line.command()));
        AdminContext context(m_paths, line, m_clock, m_out, m_err);
        return command->run(context, line);
    } catch (const UsageError& e) {
        m_err << e.message() << "\n\n" << usage();
        return 2;
    } catch (const AdminFailure& e) {
        m_err << e.message() << '\n';
    } catch (const core::DbError& e) {
        m_err << e.message() << '\n';
    } catch (const core::LocalServerError& e) {
        m_err << e.message() << '\n';
    } catch (const core::IniFileError& e) {
        m_err << e.message() << '\n';
    } catch (const std::exception& e) {
        m_err << QString::fromUtf8(e.what()) << '\n';
    }
    return 1;
}

} // namespace carvendo::admin
