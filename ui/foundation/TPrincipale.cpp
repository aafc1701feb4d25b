#include "ui/foundation/TPrincipale.h"

#include "core/Connections.h"
#include "ui/common/BackgroundTask.h"
#include "ui/common/WindowRegistry.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace carvendo::ui {

namespace {

// The caption with a keyboard mnemonic on its first letter or digit that its siblings have not
// taken yet (taken collects them); a literal '&' is kept as one.
QString withMnemonic(const QString& caption, QString& taken)
{
    QString result;
    bool marked = false;
    for (const QChar c : caption) {
        if (c == u'&') {
            result += QStringLiteral("&&");
            continue;
        }
        if (!marked && c.isLetterOrNumber() && !taken.contains(c.toLower())) {
            taken += c.toLower();
            result += u'&';
            marked = true;
        }
        result += c;
    }
    return result;
}

// Dumps run behind a modal progress bar, off the window thread.
core::JobRunner progressBarRunner(QWidget* parent)
{
    return [parent](const QString& label, const core::LongJob& job) {
        runInBackground(parent, label, [&job](ProgressReporter& reporter) {
            job([&reporter](int percent) { reporter.setProgress(percent); });
        });
    };
}

const char* const CommandIdProperty = "commandId";

} // namespace

TPrincipale::TPrincipale(WindowEnvironment& environment, const core::NavigationRequest& request,
                         foundation::Principale::Availability isAvailable, QWidget* parent)
    : Window(parent), m_backups(environment.connections, environment.paths, environment.session,
                                environment.dialogs, environment.clock, progressBarRunner(this)),
      m_logic(environment.session, environment.paths, environment.dialogs, environment.navigator, m_backups,
              std::move(isAvailable))
{
    setWindowTitle(QStringLiteral("Carvendo Pro"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setWindowFlag(Qt::WindowMinimizeButtonHint);
    resize(1100, 720);

    m_menuBar = new QMenuBar(this);
    m_buttonBar = new QTabWidget;
    m_buttonBar->setObjectName(QStringLiteral("buttonBar"));
    m_buttonBar->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    buildMenus();
    buildButtonBar();

    auto* centre = new QLabel(QStringLiteral("Carvendo Pro"));
    centre->setAlignment(Qt::AlignCenter);
    QFont font = centre->font();
    font.setPointSize(font.pointSize() * 3);
    centre->setFont(font);
    centre->setEnabled(false);

    auto* status = new QStatusBar;
    status->setSizeGripEnabled(false);
    m_operator = new QLabel;
    m_warehouse = new QLabel;
    m_company = new QLabel;
    status->addWidget(m_operator);
    status->addWidget(m_warehouse);
    status->addPermanentWidget(m_company);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(m_menuBar);
    layout->addWidget(m_buttonBar);
    layout->addWidget(centre, 1);
    layout->addWidget(status);

    QString company = request.values.value(QStringLiteral("azienda")).toString();
    if (company.isEmpty())
        company = environment.connections.companySettings().database;
    m_logic.setCompanyText(company);

    connect(&m_logic, &foundation::Principale::statusChanged, this, &TPrincipale::showStatus);
    connect(&m_logic, &foundation::Principale::endProgramRequested, this, &QDialog::accept);
    showStates();
    showStatus();
}

QAction* TPrincipale::makeAction(const foundation::MainCommand& command, const QString& caption)
{
    auto* action = new QAction(caption, this);
    action->setProperty(CommandIdProperty, command.id);
    const QString id = command.id;
    connect(action, &QAction::triggered, this, [this, id] { m_logic.run(id); });
    m_actions[id] << action;
    return action;
}

void TPrincipale::buildMenus()
{
    const foundation::MainCommands& commands = m_logic.commands();
    QString takenInBar;
    for (const QString& menuName : commands.menus()) {
        QMenu* menu = m_menuBar->addMenu(withMnemonic(menuName, takenInBar));
        menu->setToolTipsVisible(true);
        QString takenInMenu;
        for (const auto& entry : commands.entries(foundation::CommandPlace::Kind::MenuItem, menuName)) {
            if (entry.place.separatorBefore && !menu->isEmpty())
                menu->addSeparator();
            menu->addAction(makeAction(*entry.command, withMnemonic(entry.place.caption, takenInMenu)));
        }
    }
}

void TPrincipale::buildButtonBar()
{
    const foundation::MainCommands& commands = m_logic.commands();
    for (const QString& group : commands.buttonGroups()) {
        auto* page = new QWidget;
        auto* row = new QHBoxLayout(page);
        for (const auto& entry : commands.entries(foundation::CommandPlace::Kind::Button, group)) {
            QString caption = entry.place.caption;
            auto* button = new QToolButton;
            button->setDefaultAction(makeAction(*entry.command, caption.replace(u'&', QStringLiteral("&&"))));
            button->setToolButtonStyle(Qt::ToolButtonTextOnly);
            button->setMinimumSize(96, 48);
            button->setFocusPolicy(Qt::StrongFocus);
            row->addWidget(button);
        }
        row->addStretch();
        m_buttonBar->addTab(page, group);
    }
}

void TPrincipale::showStates()
{
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
        const foundation::CommandState state = m_logic.state(it.key());
        for (QAction* action : it.value()) {
            action->setEnabled(state.enabled);
            action->setToolTip(state.toolTip);
        }
    }
}

void TPrincipale::showStatus()
{
    m_operator->setText(QStringLiteral("Operatore: ") + m_logic.operatorText());
    m_warehouse->setText(QStringLiteral("Magazzino: ") + m_logic.warehouseText());
    m_company->setText(QStringLiteral("Azienda: ") + m_logic.companyText());
}

void TPrincipale::showEvent(QShowEvent* event)
{
    Window::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    showStates();
    // After the window is on screen: the reminders open over it.
    QMetaObject::invokeMethod(&m_logic, &foundation::Principale::shown, Qt::QueuedConnection);
}

void TPrincipale::reject()
{
    m_logic.requestClose(); // accepted through endProgramRequested when the program ends
}

void TPrincipale::closeEvent(QCloseEvent* event)
{
    event->ignore();
    if (!m_logic.programEnding())
        m_logic.requestClose();
}

} // namespace carvendo::ui
