// The closing dialog, built offscreen and driven by its buttons.
#include "ui/foundation/TDialogoClose.h"
#include "ui/common/WindowRegistry.h"
#include "ui/foundation/ClosingWindows.h"

#include "core/IniFile.h"
#include "tests/support/QtPrinters.h"
#include "tests/ui/WindowTestBench.h"

#include <QFileInfo>

using namespace carvendo;
using namespace carvendo::ui;

namespace {

class ClosingWindowsTest : public carvendo::testing::CompanySuite<ClosingWindowsTest>,
                           protected carvendo::testing::WindowTestBench
{
protected:
    void SetUp() override
    {
        useCompany(company());
        m_clock.setNow(QDateTime(QDate(2026, 12, 6), QTime(14, 30, 5)));
        db().exec(QStringLiteral("DELETE FROM backup"));
        db().exec(QStringLiteral("UPDATE backupcontatore SET Totale = 0, DataUltimo = ''"));
    }

    void logIn(core::MachineType machine, core::Privilege privilege)
    {
        m_session.setMachineType(machine);
        logInWithPrivilege(privilege);
    }
};

TEST_F(ClosingWindowsTest, ConfirmWithBackupAutomaticoOnAClientDumpsInTheBackgroundAndEnds)
{
    logIn(core::MachineType::Client, core::Privilege::Pos);
    core::IniFile connessione(m_paths.connessioneIni());
    connessione.setIntValue(u"Transfer", u"Backup automatico", 1);
    connessione.save();

    TDialogoClose dialog(m_environment);
    dialog.show();
    dialog.confirmButton()->click();

    EXPECT_TRUE(dialog.navigationResult().accepted);
    EXPECT_TRUE(m_dialogs.events().empty());
    EXPECT_GT(QFileInfo(m_paths.backupDir() + QStringLiteral("/BACKUP_SICUREZZA.sql")).size(), 10000);
    EXPECT_EQ(core::IniFile(m_paths.versioneIni()).value(u"SOFTWARE", u"VERSIONE ATTUALE"), u"6.1.10");
}

} // namespace
