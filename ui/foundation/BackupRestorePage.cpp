#include "ui/foundation/BackupRestorePage.h"

#include "core/CommandGuard.h"
#include "core/Dialogs.h"
#include "ui/common/BackgroundTask.h"
#include "ui/common/GuardedCommand.h"
#include "ui/foundation/ClosingWindows.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace carvendo::ui {

BackupRestorePage::BackupRestorePage(WindowEnvironment& environment, QWidget* parent)
    : QWidget(parent), m_dialogs(environment.dialogs),
      m_logic(environment.connections, environment.paths, environment.session, environment.dialogs,
              environment.clock, backgroundJobRunner(this))
{
    buildWidgets();
    onClickGuarded(m_backupButton, m_dialogs, [this] {
        m_logic.backUp();
        refresh();
    });
    onClickGuarded(m_restoreButton, m_dialogs, [this] {
        m_logic.restore();
        refresh(); // the restored data has its own log of backups
    });
    refresh();
}

void BackupRestorePage::buildWidgets()
{
    m_lastBackup = new QLabel;
    m_lastBackup->setObjectName(QStringLiteral("ultimoBackup"));
    m_lastBackup->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_total = new QLabel;
    m_total->setObjectName(QStringLiteral("totaleEffettuati"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Ultimo Backup:"), m_lastBackup);
    form->addRow(QStringLiteral("Totale effettuati:"), m_total);

    m_backupButton = new QPushButton(QStringLiteral("Esegui Backup"));
    m_backupButton->setObjectName(QStringLiteral("eseguiBackup"));
    m_restoreButton = new QPushButton(QStringLiteral("Ripristina Dati"));
    m_restoreButton->setObjectName(QStringLiteral("ripristinaDati"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_backupButton);
    buttons->addWidget(m_restoreButton);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addStretch();
    setTabOrder(m_backupButton, m_restoreButton);
}

void BackupRestorePage::refresh()
{
    // Unknown until read: a failed read leaves the fields empty, not showing old figures.
    m_lastBackup->clear();
    m_total->clear();
    core::runGuarded(m_dialogs, [this] {
        const foundation::BackupSummary summary = m_logic.summary();
        m_lastBackup->setText(summary.dataUltimo);
        m_total->setText(QString::number(summary.totale));
    });
}

QString BackupRestorePage::lastBackupText() const
{
    return m_lastBackup->text();
}
QString BackupRestorePage::totalText() const
{
    return m_total->text();
}

} // namespace carvendo::ui
