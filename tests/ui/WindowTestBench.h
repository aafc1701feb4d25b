#pragma once

#include "core/Clock.h"
#include "core/Connections.h"
#include "core/Paths.h"
#include "core/Session.h"
#include "tests/support/FixedClock.h"
#include "tests/support/RecordingNavigator.h"
#include "tests/support/RecordingReportOutput.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"
#include "ui/common/WindowEnvironment.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

namespace carvendo::testing {

// What a window under test receives: folders in a temporary directory, a fresh login state and
// connections, scripted messages, a recording navigator, a fixed clock and a recording print
// output. Fixtures inherit it beside their own base and keep these member names; the helpers
// below set up what most windows need and work the widgets as the operator would.
struct WindowTestBench
{
    QTemporaryDir m_dir;
    core::Paths m_paths{m_dir.path(), m_dir.path()};
    core::Session m_session;
    core::Connections m_connections;
    ScriptedDialogs m_dialogs;
    RecordingNavigator m_navigator;
    FixedClock m_clock;
    RecordingReportOutput m_reports;
    ui::WindowEnvironment m_environment{m_session,   m_paths, m_connections, m_dialogs,
                                        m_navigator, m_clock, m_reports};

    // The windows work on that company's database.
    void useCompany(const CompanyDatabase& company) { m_connections.setCompanySettings(company.settings()); }

    // An operator logged in with that privilege, working in that warehouse.
    void logInWithPrivilege(core::Privilege privilege, const core::Warehouse& warehouse = {})
    {
        core::Privileges privileges;
        privileges.set(privilege, true);
        m_session.logIn(core::Operator{}, warehouse, privileges);
    }
    void logInWithAllPrivileges(const core::Warehouse& warehouse = {})
    {
        logInWithPrivilege(core::Privilege::FullAccess, warehouse);
    }

    // Types the text into the widget key by key.
    static void type(QWidget* widget, const QString& text)
    {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(widget, &press);
        }
    }

    static void pressKey(QWidget* widget, Qt::Key key)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(widget, &press);
    }
    static void pressEnter(QWidget* widget) { pressKey(widget, Qt::Key_Return); }

    // The window's child of that type and name; fails the test when there is none.
    template <typename W> static W* child(QWidget& window, const char* name)
    {
        W* widget = window.findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    // The window's button with that caption, nullptr when there is none.
    static QPushButton* buttonCaptioned(QWidget& window, const QString& caption)
    {
        for (QPushButton* button : window.findChildren<QPushButton*>())
            if (button->text() == caption)
                return button;
        return nullptr;
    }
};

} // namespace carvendo::testing
