#include "TPrincipale.h"

#include "Connections.h"
#include "FixedClock.h"
#include "Paths.h"
#include "QtPrinters.h"
#include "RecordingNavigator.h"
#include "ScriptedDialogs.h"
#include "Session.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTabWidget>
#include <QTemporaryDir>

#include "WindowTestBench.h"

#include <gtest/gtest.h>

using namespace carvendo;
namespace ct = carvendo::testing;

namespace {

QString withoutMnemonic(QString text)
{
    return text.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(u'&').replace(u'\x01', u'&');
}

class TPrincipaleTest : public ::testing::Test, protected carvendo::testing::WindowTestBench
{
protected:
    void logInWith(core::Privilege flag)
    {
        core::Privileges privileges;
        privileges.set(flag, true);
        m_session.logIn(core::Operator{3, QStringLiteral("Anna Bianchi"), QStringLiteral("anna"), {}, QStringLiteral("Cassa")},
                        core::Warehouse{1, QStringLiteral("MAGAZZINO CENTRALE")}, privileges);
    }

    // The program of this test has every window but the customer list.
    core::Principale::Availability m_available = [](const QString& window) { return window != u"TClienti"; };
};

TEST_F(TPrincipaleTest, PosOperatorOpensTheTillButGetsThePrivilegeMessageOnFatture)
{
    logInWith(core::Privilege::Pos);
    ui::TPrincipale window(m_environment, {QStringLiteral("TPrincipale"), {}, {}, {{"azienda", "Telefonia Rossi"}}},
                           m_available);

    const QList<QAction*> fatture = window.actionsOf(QStringLiteral("fatture"));
    ASSERT_EQ(fatture.size(), 1);
    EXPECT_EQ(withoutMnemonic(fatture[0]->text()), QStringLiteral("Fatture"));
    fatture[0]->trigger();
    EXPECT_EQ(m_dialogs.messages(), QStringList{QStringLiteral("Non possiedi i privilegi per eseguire questa operazione")});
    EXPECT_TRUE(m_navigator.requests().empty());

    const QList<QAction*> posTouch = window.actionsOf(QStringLiteral("postouch"));
    ASSERT_EQ(posTouch.size(), 2) << "menu item and button";
    EXPECT_EQ(posTouch[1]->text(), QStringLiteral("Pos Touch"));
    posTouch[1]->trigger();
    EXPECT_EQ(m_navigator.openedWindows(), QStringList{QStringLiteral("TPosTouch")});
    EXPECT_EQ(m_dialogs.messages().size(), 1);
}

TEST_F(TPrincipaleTest, MenusAndButtonsComeFromTheTableAndMissingWindowsAreDisabled)
{
    logInWith(core::Privilege::FullAccess);
    ui::TPrincipale window(m_environment, {}, m_available);

    QStringList menus;
    for (QAction* menuAction : window.menuBar().actions()) {
        menus << withoutMnemonic(menuAction->text());
        // Within a menu every item has its own mnemonic letter.
        QSet<QChar> letters;
        for (QAction* item : menuAction->menu()->actions()) {
            if (item->isSeparator())
                continue;
            const qsizetype at = item->text().indexOf(u'&');
            ASSERT_GE(at, 0) << item->text().toStdString();
            EXPECT_FALSE(letters.contains(item->text()[at + 1].toLower())) << item->text().toStdString();
            letters.insert(item->text()[at + 1].toLower());
        }
    }
    EXPECT_EQ(menus, (QStringList{"Anagrafiche", "Magazzino", "Vendite", "Acquisti", "Statistiche", "CAT", "Strumenti",
                                  "e-commerce", "Utility Extra"}));
    EXPECT_GE(window.buttonBar().count(), 5);
    EXPECT_EQ(window.buttonBar().tabText(0), QStringLiteral("Nuovo documento"));

    const QList<QAction*> clienti = window.actionsOf(QStringLiteral("clienti"));
    ASSERT_EQ(clienti.size(), 1);
    EXPECT_FALSE(clienti[0]->isEnabled());
    EXPECT_EQ(clienti[0]->toolTip(), QStringLiteral("Non ancora disponibile"));
    clienti[0]->trigger();
    EXPECT_TRUE(m_navigator.requests().empty()) << "a disabled item does nothing";

    for (QAction* fidelity : window.actionsOf(QStringLiteral("fidelity")))
        EXPECT_TRUE(fidelity->isEnabled());
}

TEST_F(TPrincipaleTest, ClosingTheWindowRunsTheClosingSequence)
{
    logInWith(core::Privilege::Pos);
    ui::TPrincipale window(m_environment, {}, m_available);
    window.show();

    m_navigator.returnFrom(QStringLiteral("TDialogoClose"), {.accepted = false});
    window.close();
    EXPECT_TRUE(window.isVisible()) << "\"Annulla la chiusura e rientra\"";

    m_navigator.returnFrom(QStringLiteral("TDialogoClose"), {.accepted = true});
    window.actionsOf(QStringLiteral("esci")).last()->trigger();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(m_navigator.openedWindows(),
              (QStringList{QStringLiteral("TDialogoClose"), QStringLiteral("TDialogoClose")}));
}

} // namespace
