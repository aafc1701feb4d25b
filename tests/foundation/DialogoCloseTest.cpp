#include "foundation/DialogoClose.h"

#include "core/Connections.h"
#include "core/IniFile.h"
#include "core/Paths.h"
#include "core/Session.h"
#include "foundation/BackupService.h"
#include "tests/support/FixedClock.h"
#include "tests/support/Login.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

using namespace carvendo::core;
using namespace carvendo::foundation;
using carvendo::testing::ScriptedDialogs;
using Outcome = DialogoClose::Outcome;

namespace {

const QString NoPrivilege = QStringLiteral("Non possiedi i privilegi per eseguire questa operazione");

// One of the dialog's three buttons.
using Command = Outcome (DialogoClose::*)();
constexpr Command CloseWithBackup = &DialogoClose::closeWithBackup;
constexpr Command ConfirmClose = &DialogoClose::confirmClose;
constexpr Command Cancel = &DialogoClose::cancel;

struct Case
{
    const char* label;
    MachineType machine;
    std::vector<Privilege> privileges;
    std::optional<int> backupAutomatico; // nullopt: key absent
    Command command;
    Outcome outcome;
    bool dumped;
    QStringList messages;
};

class DialogoCloseTest : public carvendo::testing::CompanySuite<DialogoCloseTest>
{
protected:
    DialogoCloseTest() : m_paths(m_data.path(), m_data.path())
    {
        m_connections.setCompanySettings(company().settings());
    }

    void logIn(MachineType machine, const std::vector<Privilege>& flags)
    {
        m_session.setMachineType(machine);
        m_session.logIn(Operator{}, Warehouse{}, carvendo::testing::privilegesOf(flags));
    }

    void writeConnessione(std::optional<int> backupAutomatico)
    {
        IniFile ini(m_paths.connessioneIni());
        ini.setValue(u"SESSIONE", u"IDSESSIONE", QStringLiteral("41"));
        ini.setValue(u"SESSIONE", u"SESSIONE_AVVIATA", QStringLiteral("1"));
        ini.setValue(u"MAGAZZINO", u"MAGAZZINO", QStringLiteral("MAGAZZINO CENTRALE"));
        if (backupAutomatico)
            ini.setIntValue(u"Transfer", u"Backup automatico", *backupAutomatico);
        ini.save();
    }

    Outcome run(Command command, DatabaseDump dump = DatabaseDump())
    {
        BackupService backups(m_connections, m_paths, m_session, m_dialogs, m_clock, runHere,
                              std::move(dump));
        DialogoClose dialog(m_paths, m_session, m_dialogs, backups);
        return (dialog.*command)();
    }

    QString safetyFile() const { return m_paths.backupDir() + QStringLiteral("/BACKUP_SICUREZZA.sql"); }
    QString writtenVersion() const
    {
        return IniFile(m_paths.versioneIni()).value(u"SOFTWARE", u"VERSIONE ATTUALE");
    }

    QTemporaryDir m_data;
    Paths m_paths;
    Connections m_connections;
    Session m_session;
    ScriptedDialogs m_dialogs;
    carvendo::testing::FixedClock m_clock;
};

TEST_F(DialogoCloseTest, CommandsByMachinePrivilegeAndBackupAutomatico)
{
    const QStringList none;
    using enum MachineType;
    // clang-format off
    const Case cases[] = {
        {"backup with impostazioni",     ClientServer, {Privilege::Impostazioni}, std::nullopt, CloseWithBackup, Outcome::EndProgram, true, none},
        {"backup without the privilege", ClientServer, {Privilege::Pos, Privilege::Fatturazione}, 1, CloseWithBackup, Outcome::Stay, false, {NoPrivilege}},
        {"backup on a CLIENT",           Client,       {Privilege::FullAccess},   std::nullopt, CloseWithBackup, Outcome::Stay,       false, none},
        {"confirm, key absent",          ClientServer, {Privilege::FullAccess},   std::nullopt, ConfirmClose,    Outcome::EndProgram, false, none},
        {"confirm, Backup automatico 1", ClientServer, {Privilege::Impostazioni}, 1,            ConfirmClose,    Outcome::EndProgram, true,  none},
        {"confirm, Backup automatico 1, operator without impostazioni", Client, {Privilege::Pos}, 1, ConfirmClose, Outcome::EndProgram, true, none},
        {"cancel",                       ClientServer, {Privilege::FullAccess},   1,            Cancel,          Outcome::BackToMainWindow, false, none},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        QFile::remove(safetyFile());
        QFile::remove(m_paths.versioneIni());
        QFile::remove(m_paths.connessioneIni());
        m_dialogs.clear();
        logIn(c.machine, c.privileges);
        writeConnessione(c.backupAutomatico);

        EXPECT_EQ(run(c.command), c.outcome);
        EXPECT_EQ(m_dialogs.messages(), c.messages);
        EXPECT_EQ(QFileInfo::exists(safetyFile()), c.dumped);
        EXPECT_EQ(writtenVersion(), c.outcome == Outcome::EndProgram ? QStringLiteral("6.1.10") : QString());
    }
}

TEST_F(DialogoCloseTest, AFailedSafetyDumpIsToldAndTheOperatorDecides)
{
    logIn(MachineType::ClientServer, {Privilege::Impostazioni});
    writeConnessione(std::nullopt);
    const DatabaseDump broken(
        DumpTools{QStringLiteral("/nessuna/cartella/mariadb-dump"), QStringLiteral("mariadb")});

    for (bool closeAnyway : {false, true}) {
        SCOPED_TRACE(closeAnyway ? "close anyway" : "stay");
        QFile::remove(m_paths.versioneIni());
        m_dialogs.clear();
        m_dialogs.answerConfirm(closeAnyway);
        EXPECT_EQ(run(CloseWithBackup, broken), closeAnyway ? Outcome::EndProgram : Outcome::Stay);
        ASSERT_EQ(m_dialogs.events().size(), 2u);
        EXPECT_TRUE(
            m_dialogs.events()[0].text.startsWith(u"Backup di sicurezza non riuscito:\nImpossibile avviare "
                                                  u"il programma /nessuna/cartella/mariadb-dump: "))
            << m_dialogs.events()[0].text.toStdString();
        EXPECT_EQ(m_dialogs.events()[1].text, u"Vuoi chiudere comunque il software?");
        EXPECT_EQ(writtenVersion(), closeAnyway ? QStringLiteral("6.1.10") : QString());
    }
}

TEST_F(DialogoCloseTest, TheVersionKeyIsWrittenBesideWhatVersioneIniHolds)
{
    logIn(MachineType::ClientServer, {Privilege::Pos});
    writeConnessione(0);
    carvendo::testing::writeFile(
        m_paths.versioneIni(),
        "; installato dal setup\r\n[SOFTWARE]\r\nVERSIONE ATTUALE=5.4.4\r\nDATA=01/02/2012\r\n");
    EXPECT_EQ(run(ConfirmClose), Outcome::EndProgram);
    EXPECT_EQ(carvendo::testing::readFile(m_paths.versioneIni()),
              "; installato dal setup\r\n[SOFTWARE]\r\nVERSIONE ATTUALE=6.1.10\r\nDATA=01/02/2012\r\n");
}

} // namespace
