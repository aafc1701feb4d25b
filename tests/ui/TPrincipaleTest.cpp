#include "ui/foundation/TPrincipale.h"

#include "tests/support/QtPrinters.h"
#include "tests/ui/WindowTestBench.h"

#include <QAction>

using namespace carvendo;

namespace {

class TPrincipaleTest : public ::testing::Test, protected carvendo::testing::WindowTestBench
{
protected:
    // The program of this test has every window but the customer list.
    foundation::Principale::Availability m_available = [](const QString& window) {
        return window != u"TClienti";
    };
};

TEST_F(TPrincipaleTest, PosOperatorOpensTheTillButGetsThePrivilegeMessageOnFatture)
{
    logInWithPrivilege(core::Privilege::Pos);
    ui::TPrincipale window(m_environment,
                           {QStringLiteral("TPrincipale"), {}, {}, {{"azienda", "Telefonia Rossi"}}},
                           m_available);
    const QList<QAction*> fatture = window.actionsOf(QStringLiteral("fatture"));
    ASSERT_EQ(fatture.size(), 1);
    fatture[0]->trigger();
    EXPECT_EQ(m_dialogs.messages(),
              QStringList{QStringLiteral("Non possiedi i privilegi per eseguire questa operazione")});
    EXPECT_TRUE(m_navigator.requests().empty());

    const QList<QAction*> posTouch = window.actionsOf(QStringLiteral("postouch"));
    ASSERT_EQ(posTouch.size(), 2) << "menu item and button";
    posTouch[1]->trigger();
    EXPECT_EQ(m_navigator.openedWindows(), QStringList{QStringLiteral("TPosTouch")});
    EXPECT_EQ(m_dialogs.messages().size(), 1);
}

TEST_F(TPrincipaleTest, ClosingTheWindowRunsTheClosingSequence)
{
    logInWithPrivilege(core::Privilege::Pos);
    ui::TPrincipale window(m_environment, {}, m_available);
    window.show();
    m_navigator.returnFrom(QStringLiteral("TDialogoClose"), {.accepted = false});
    window.close();
    EXPECT_TRUE(window.isVisible()) << "\"Annulla la chiusura e rientra\"";

    m_navigator.returnFrom(QStringLiteral("TDialogoClose"), {.accepted = true});
    window.actionsOf(QStringLiteral("esci")).last()->trigger();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(m_navigator.openedWindows(),
              (QStringList{QStringLiteral("TDialogoClose"), QStringLiteral("TDialogoClose")}));
}

} // namespace
