#pragma once

#include "core/Navigator.h"
#include "foundation/BackupService.h"
#include "foundation/Principale.h"
#include "ui/common/Window.h"
#include "ui/common/WindowEnvironment.h"

#include <QHash>
#include <QList>

class QAction;
class QLabel;
class QMenuBar;
class QTabWidget;

namespace carvendo::ui {

// The main window, shown modally after login: the menu bar and the button bar, both built from the
// command table, and a status bar with the operator, the warehouse and the company. It closes only
// when the closing sequence ends the program (then it is accepted).
class TPrincipale : public Window
{
    Q_OBJECT
public:
    TPrincipale(WindowEnvironment& environment, const core::NavigationRequest& request,
                foundation::Principale::Availability isAvailable, QWidget* parent = nullptr);

    foundation::Principale& logic() { return m_logic; }
    QMenuBar& menuBar() { return *m_menuBar; }
    QTabWidget& buttonBar() { return *m_buttonBar; }
    // Every menu item and button of the command, in table order.
    QList<QAction*> actionsOf(const QString& commandId) const { return m_actions.value(commandId); }

    void reject() override; // Escape: the closing sequence, as the window's close button

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QAction* makeAction(const foundation::MainCommand& command, const QString& caption);
    void buildMenus();
    void buildButtonBar();
    void showStates();
    void showStatus();

    foundation::BackupService m_backups;
    foundation::Principale m_logic;
    QMenuBar* m_menuBar = nullptr;
    QTabWidget* m_buttonBar = nullptr;
    QLabel* m_operator = nullptr;
    QLabel* m_warehouse = nullptr;
    QLabel* m_company = nullptr;
    QHash<QString, QList<QAction*>> m_actions;
    bool m_shownOnce = false;
};

} // namespace carvendo::ui
