#include "foundation/Principale.h"

#include "core/Connections.h"
#include "core/DbError.h"
#include "core/IniFile.h"
#include "core/Paths.h"
#include "core/Session.h"
#include "foundation/BackupService.h"
#include "foundation/MainCommands.h"
#include "tests/support/FixedClock.h"
#include "tests/support/Login.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/RecordingNavigator.h"
#include "tests/support/ScriptedDialogs.h"

#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

using namespace carvendo;
using namespace carvendo::core;
using namespace carvendo::foundation;
namespace ct = carvendo::testing;
using ct::DialogEvent;

namespace {

const QString NoPrivilege = QStringLiteral("Non possiedi i privilegi per eseguire questa operazione");

class PrincipaleTest : public ::testing::Test
{
protected:
    void logInWith(const std::vector<Privilege>& flags, MachineType machine = MachineType::ClientServer)
    {
        m_session.setMachineType(machine);
        m_session.logIn(
            Operator{7, QStringLiteral("Mario Rossi"), QStringLiteral("mario"), {}, QStringLiteral("Cassa")},
            Warehouse{2, QStringLiteral("NEGOZIO CENTRO")}, ct::privilegesOf(flags));
    }

    void writeSetting(const QString& section, const QString& key, const QString& value)
    {
        IniFile ini(m_paths.impostazioniIni());
        ini.setValue(section, key, value);
        ini.save();
    }

    QTemporaryDir m_dir;
    Paths m_paths{m_dir.path(), m_dir.path()};
    Session m_session;
    Connections m_connections; // never opened: no command here reaches the database
    ct::ScriptedDialogs m_dialogs;
    ct::RecordingNavigator m_navigator;
    ct::FixedClock m_clock;
    BackupService m_backups{m_connections, m_paths, m_session, m_dialogs, m_clock, runHere};
    QSet<QString> m_missingWindows;
    Principale m_principale{
        m_session,   m_paths,   m_dialogs,
        m_navigator, m_backups, [this](const QString& window) { return !m_missingWindows.contains(window); }};
};

// One case per outcome of the gates: the flag opens, another flag is refused, every flag short of
// full access is refused where only full access goes and full access passes there, a command open to
// everyone needs no flag.
TEST_F(PrincipaleTest, GatesRunOrRefuseWithThePrivilegeMessage)
{
    const std::vector<Privilege> everyFlagButFullAccess{
        Privilege::Pos,           Privilege::Carico,          Privilege::Fatturazione,
        Privilege::Cat,           Privilege::Statistiche,     Privilege::Magazzino,
        Privilege::Ddt,           Privilege::OrdiniFornitori, Privilege::OrdiniClienti,
        Privilege::Impostazioni,  Privilege::Scadenzario,     Privilege::Planner,
        Privilege::Cancellazione, Privilege::Aggiornamento};
    const struct
    {
        std::vector<Privilege> flags;
        const char* command;
        const char* opens; // nullptr: refused with the privilege message
    } cases[] = {{{Privilege::Pos}, "postouch", "TPosTouch"},
                 {{Privilege::Pos}, "fatture", nullptr},
                 {everyFlagButFullAccess, "inizioanno", nullptr},
                 {{}, "clienti", "TClienti"},
                 {{Privilege::FullAccess}, "exportcat", "TEsportazioneCat"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        m_navigator = ct::RecordingNavigator();
        m_dialogs.clear();
        logInWith(c.flags);
        m_principale.run(QString::fromUtf8(c.command));
        EXPECT_EQ(m_navigator.openedWindows(), c.opens ? QStringList{c.opens} : QStringList());
        EXPECT_EQ(m_dialogs.messages(), c.opens ? QStringList() : QStringList{NoPrivilege});
        EXPECT_TRUE(m_dialogs.texts(DialogEvent::Kind::Confirm).isEmpty()) << "the gate comes first";
    }
    // Still with full access.
    m_principale.run(QStringLiteral("restore"));
    EXPECT_EQ(m_navigator.lastRequest(QStringLiteral("TImpostazioniNew"))
                  .values.value(QStringLiteral("page"))
                  .toString(),
              QStringLiteral("Backup/Restore"))
        << "the settings window opens on the page the command names";
}

TEST_F(PrincipaleTest, CommandsWithoutTheirWindowAreDisabledAndNeverNavigate)
{
    logInWith({Privilege::FullAccess});
    m_missingWindows = {QStringLiteral("TFatture"), QStringLiteral("TFatturaImmediata")};

    for (const char* id : {"fatture", "nuovafattura"}) {
        const CommandState state = m_principale.state(QString::fromUtf8(id));
        EXPECT_FALSE(state.enabled) << id;
        EXPECT_EQ(state.toolTip, QStringLiteral("Non ancora disponibile")) << id;
        m_principale.run(QString::fromUtf8(id));
    }
    EXPECT_TRUE(m_navigator.requests().empty());
    EXPECT_TRUE(m_dialogs.events().empty());
    EXPECT_TRUE(m_principale.state(QStringLiteral("preventivi")).enabled);
}

// Backup and restore write their dumps on the server's machine; nothing else needs it.
TEST_F(PrincipaleTest, ClientMachineDisablesBackupAndRestoreOnly)
{
    logInWith({Privilege::FullAccess}, MachineType::Client);
    EXPECT_FALSE(m_principale.state(QStringLiteral("restore")).enabled);
    EXPECT_TRUE(m_principale.state(QStringLiteral("impostazioni")).enabled) << "same window, another page";
    m_principale.run(QStringLiteral("backup"));
    EXPECT_TRUE(m_navigator.requests().empty());
    logInWith({Privilege::FullAccess}, MachineType::ClientServer);
    EXPECT_TRUE(m_principale.state(QStringLiteral("backup")).enabled);
}

TEST_F(PrincipaleTest, RemindersOpenOnShowWhenTheWorkstationWantsThem)
{
    logInWith({});
    m_principale.shown();
    EXPECT_TRUE(m_navigator.requests().empty()) << "no impostazioni.ini: no reminders";

    writeSetting(QStringLiteral("Impostazioni"), QStringLiteral("Promemoria"), QStringLiteral("1"));
    m_principale.shown();
    EXPECT_EQ(m_navigator.openedWindows(), QStringList{QStringLiteral("TPromemoria")});
}

TEST_F(PrincipaleTest, PosConfiguratorStartsTheConfiguredProgram)
{
    logInWith({Privilege::Pos});
    writeSetting(QStringLiteral("CONFIGURATORE POS"), QStringLiteral("Programma"),
                 QStringLiteral("  /bin/true "));
    QStringList started;
    m_principale.setProgramStarter([&](const QString& program) {
        started << program;
        return startDetachedProgram(program);
    });
    m_principale.run(QStringLiteral("configuratorepos"));
    EXPECT_EQ(started, QStringList{QStringLiteral("/bin/true")});
    EXPECT_TRUE(m_dialogs.messages().isEmpty());
}

TEST_F(PrincipaleTest, ClosingIsRefusedUntilTheClosingDialogSaysSo)
{
    logInWith({});
    {
        IniFile ini(m_paths.connessioneIni());
        ini.setValue(QStringLiteral("SESSIONE"), QStringLiteral("IDSESSIONE"), QStringLiteral("17"));
        ini.setValue(QStringLiteral("SESSIONE"), QStringLiteral("SESSIONE_AVVIATA"), QStringLiteral("1"));
        ini.save();
    }
    int ending = 0;
    QObject::connect(&m_principale, &Principale::endProgramRequested, [&] { ++ending; });

    m_navigator.returnFrom(QStringLiteral("TDialogoClose"), {.accepted = false});
    EXPECT_FALSE(m_principale.requestClose()) << "\"Annulla la chiusura e rientra\"";
    EXPECT_EQ(ending, 0);
    const IniFile ini(m_paths.connessioneIni());
    EXPECT_EQ(ini.value(QStringLiteral("SESSIONE"), QStringLiteral("SESSIONE_AVVIATA")), QStringLiteral("0"));

    m_navigator.returnFrom(QStringLiteral("TDialogoClose"), {.accepted = true});
    m_principale.run(QStringLiteral("esci"));
    EXPECT_TRUE(m_principale.programEnding());
    EXPECT_EQ(ending, 1);
}

TEST_F(PrincipaleTest, WithoutTheClosingDialogTheOperatorIsAsked)
{
    logInWith({});
    m_missingWindows = {QStringLiteral("TDialogoClose")};
    m_dialogs.answerConfirm(false).answerConfirm(true);
    EXPECT_FALSE(m_principale.requestClose());
    EXPECT_TRUE(m_principale.requestClose());
    EXPECT_EQ(m_dialogs.texts(DialogEvent::Kind::Confirm).value(0),
              QStringLiteral("Vuoi veramente chiudere il software?"));
    EXPECT_TRUE(m_navigator.requests().empty());
}

TEST_F(PrincipaleTest, WindowThatCannotOpenSaysWhyAndTheMainWindowStays)
{
    logInWith({Privilege::Magazzino, Privilege::Impostazioni});
    m_navigator.whenOpened(QStringLiteral("TArticoli"), [](const NavigationRequest&) -> NavigationResult {
        throw DbError(QStringLiteral("Lost connection to server during query"), 2013);
    });
    m_navigator.whenOpened(QStringLiteral("TConfig"), [](const NavigationRequest&) -> NavigationResult {
        throw IniFileError(QStringLiteral("Impossibile leggere il file impostazioni.ini"));
    });
    m_principale.run(QStringLiteral("articoli"));
    m_principale.run(QStringLiteral("configurazioni"));
    EXPECT_EQ(m_dialogs.texts(DialogEvent::Kind::Error),
              (QStringList{QStringLiteral("Lost connection to server during query"),
                           QStringLiteral("Impossibile leggere il file impostazioni.ini")}));
    EXPECT_FALSE(m_principale.programEnding());
}

// What the command table itself can get wrong; what each command does is shown by running it above.
TEST(MainCommandsTest, CommandsAreUniqueAndEachShowsSomewhereAndOpensWhatItNames)
{
    for (const MainCommand& command : MainCommands::standard().all()) {
        EXPECT_FALSE(command.places.empty()) << command.id.toStdString();
        const bool opensWindow =
            command.action == CommandAction::OpenWindow || command.action == CommandAction::NewDocument;
        EXPECT_EQ(opensWindow, !command.requiredWindow().isEmpty()) << command.id.toStdString();
    }
    MainCommand repeated;
    repeated.id = QStringLiteral("clienti");
    EXPECT_THROW(MainCommands({repeated, repeated}), std::invalid_argument);
}

} // namespace
