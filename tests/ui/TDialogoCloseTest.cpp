// The closing dialog and the "Backup/Restore" page, built offscreen and driven by their buttons.
#include "TDialogoClose.h"
#include "BackupRestorePage.h"
#include "ClosingWindows.h"
#include "WindowRegistry.h"

#include "Connections.h"
#include "FixedClock.h"
#include "IniFile.h"
#include "Paths.h"
#include "QtPrinters.h"
#include "RecordingNavigator.h"
#include "RecordingReportOutput.h"
#include "ScriptedDialogs.h"
#include "Session.h"
#include "TestDatabase.h"

#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace carvendo;
using namespace carvendo::ui;

namespace {

class ClosingWindowsTest : public carvendo::testing::CompanySuite<ClosingWindowsTest>
{
protected:
    ClosingWindowsTest() : m_paths(m_data.path(), m_data.path())
    {
        m_connections.setCompanySettings(company().settings());
        company().db().exec(QStringLiteral("DELETE FROM backup"));
        company().db().exec(QStringLiteral("UPDATE backupcontatore SET Totale = 0, DataUltimo = ''"));
    }

    void logIn(core::MachineType machine, core::Privilege privilege)
    {
        m_session.setMachineType(machine);
        core::Privileges privileges;
        privileges.set(privilege, true);
        m_session.logIn(core::Operator{}, core::Warehouse{}, privileges);
    }

    QString safetyFile() const { return m_paths.backupDir() + QStringLiteral("/BACKUP_SICUREZZA.sql"); }

    QTemporaryDir m_data;
    core::Paths m_paths;
    core::Session m_session;
    core::Connections m_connections;
    carvendo::testing::ScriptedDialogs m_dialogs;
    carvendo::testing::RecordingNavigator m_navigator;
    carvendo::testing::FixedClock m_clock{QDateTime(QDate(2026, 12, 6), QTime(14, 30, 5))};
    carvendo::testing::RecordingReportOutput m_reports;
    WindowEnvironment m_environment{m_session, m_paths, m_connections, m_dialogs, m_navigator, m_clock, m_reports};
};

TEST_F(ClosingWindowsTest, TheDialogIsRegisteredWithItsCaptionsAndNoBackupOnAClient)
{
    WindowRegistry registry;
    registerClosingWindows(registry);
    ASSERT_TRUE(registry.has(QStringLiteral("TDialogoClose")));

    for (auto [machine, backupEnabled] :
         {std::pair{core::MachineType::ClientServer, true}, std::pair{core::MachineType::Client, false}}) {
        logIn(machine, core::Privilege::FullAccess);
        std::unique_ptr<Window> window(
            registry.create(QStringLiteral("TDialogoClose"), m_environment, {}, nullptr));
        auto* dialog = qobject_cast<TDialogoClose*>(window.get());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Chiusura Applicazione"));
        QStringList labels;
        for (const QLabel* label : dialog->findChildren<QLabel*>())
            labels << label->text();
        EXPECT_EQ(labels, QStringList{QStringLiteral("Vuoi veramente chiudere il software?")});
        EXPECT_EQ(dialog->backupButton()->text(),
                  QStringLiteral("Chiudi il software e fai un backup di sicurezza"));
        EXPECT_EQ(dialog->confirmButton()->text(), QStringLiteral("Conferma la chiusura"));
        EXPECT_EQ(dialog->cancelButton()->text(), QStringLiteral("Annulla la chiusura e rientra"));
        EXPECT_EQ(dialog->backupButton()->isEnabled(), backupEnabled);
        EXPECT_TRUE(dialog->confirmButton()->isDefault());
    }
}

TEST_F(ClosingWindowsTest, CancelAndEscapeGoBackToTheMainWindow)
{
    logIn(core::MachineType::ClientServer, core::Privilege::FullAccess);
    TDialogoClose byButton(m_environment);
    byButton.cancelButton()->click();
    EXPECT_EQ(byButton.result(), QDialog::Rejected);
    EXPECT_FALSE(byButton.navigationResult().accepted);

    TDialogoClose byKey(m_environment);
    byKey.show();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&byKey, &escape);
    EXPECT_FALSE(byKey.isVisible());
    EXPECT_FALSE(byKey.navigationResult().accepted);
    EXPECT_FALSE(QFileInfo::exists(m_paths.versioneIni()));
}

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
    EXPECT_GT(QFileInfo(safetyFile()).size(), 10000);
    EXPECT_EQ(core::IniFile(m_paths.versioneIni()).value(u"SOFTWARE", u"VERSIONE ATTUALE"), u"6.1.3");
}

TEST_F(ClosingWindowsTest, BackupPageShowsTheCounterAndCountsABackup)
{
    BackupRestorePage page(m_environment);
    EXPECT_EQ(page.backupButton()->text(), QStringLiteral("Esegui Backup"));
    EXPECT_EQ(page.restoreButton()->text(), QStringLiteral("Ripristina Dati"));
    QStringList captions;
    for (const QLabel* label : page.findChildren<QLabel*>())
        if (!label->text().isEmpty() && label->objectName().isEmpty())
            captions << label->text();
    EXPECT_EQ(captions,
              (QStringList{QStringLiteral("Ultimo Backup:"), QStringLiteral("Totale effettuati:")}));
    EXPECT_EQ(page.totalText(), u"0");
    EXPECT_EQ(page.lastBackupText(), u"");

    page.show();
    page.backupButton()->click();

    EXPECT_EQ(m_dialogs.messages(), QStringList{QStringLiteral("Backup avvenuto con successo")});
    EXPECT_EQ(page.totalText(), u"1");
    EXPECT_EQ(page.lastBackupText(), u"06/12/2026 14:30:05");
    EXPECT_TRUE(QFileInfo::exists(m_paths.backupDir() + QStringLiteral("/BACKUP_06_12_2026.sql")));
}

} // namespace
