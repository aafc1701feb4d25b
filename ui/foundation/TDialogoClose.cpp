#include "ui/foundation/TDialogoClose.h"

#include "ui/common/BackgroundTask.h"
#include "ui/common/GuardedCommand.h"
#include "ui/foundation/ClosingWindows.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace carvendo::ui {

TDialogoClose::TDialogoClose(WindowEnvironment& environment, QWidget* parent)
    : Window(parent), m_backups(environment.connections, environment.paths, environment.session,
                                environment.dialogs, environment.clock, backgroundJobRunner(this)),
      m_logic(environment.paths, environment.session, environment.dialogs, m_backups)
{
    buildWidgets();
    core::Dialogs& dialogs = environment.dialogs;
    onClickGuarded(m_backupButton, dialogs, [this] { follow(m_logic.closeWithBackup()); });
    onClickGuarded(m_confirmButton, dialogs, [this] { follow(m_logic.confirmClose()); });
    onClickGuarded(m_cancelButton, dialogs, [this] { follow(m_logic.cancel()); });
}

void TDialogoClose::buildWidgets()
{
    setWindowTitle(QStringLiteral("Chiusura Applicazione"));

    auto* question = new QLabel(QStringLiteral("Vuoi veramente chiudere il software?"));
    question->setAlignment(Qt::AlignCenter);
    QFont font = question->font();
    font.setPointSizeF(font.pointSizeF() * 1.3);
    font.setBold(true);
    question->setFont(font);

    m_backupButton = new QPushButton(QStringLiteral("Chiudi il software e fai un backup di sicurezza"));
    m_backupButton->setObjectName(QStringLiteral("backup"));
    m_backupButton->setEnabled(m_logic.safetyBackupAvailable());
    m_confirmButton = new QPushButton(QStringLiteral("Conferma la chiusura"));
    m_confirmButton->setObjectName(QStringLiteral("conferma"));
    m_cancelButton = new QPushButton(QStringLiteral("Annulla la chiusura e rientra"));
    m_cancelButton->setObjectName(QStringLiteral("annulla"));
    // Enter answers the question with yes; Escape goes back to work, as "Annulla" does.
    m_confirmButton->setDefault(true);
    m_confirmButton->setAutoDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(question);
    layout->addSpacing(12);
    for (QPushButton* button : {m_backupButton, m_confirmButton, m_cancelButton}) {
        button->setMinimumHeight(40);
        layout->addWidget(button);
    }
    setTabOrder(m_confirmButton, m_cancelButton);
    setTabOrder(m_cancelButton, m_backupButton);
    m_confirmButton->setFocus();
}

void TDialogoClose::follow(foundation::DialogoClose::Outcome outcome)
{
    switch (outcome) {
    case foundation::DialogoClose::Outcome::EndProgram:
        accept();
        break;
    case foundation::DialogoClose::Outcome::BackToMainWindow:
        reject();
        break;
    case foundation::DialogoClose::Outcome::Stay:
        break;
    }
}

} // namespace carvendo::ui
