#pragma once

#include "foundation/BackupService.h"
#include "ui/common/WindowEnvironment.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace carvendo::ui {

// The "Backup/Restore" page of the general settings: the count and date of the manual backups,
// "Esegui Backup" and "Ripristina Dati".
class BackupRestorePage : public QWidget
{
    Q_OBJECT
public:
    explicit BackupRestorePage(WindowEnvironment& environment, QWidget* parent = nullptr);

    // Shows `backupcontatore` as it is now.
    void refresh();

    QPushButton* backupButton() const { return m_backupButton; }
    QPushButton* restoreButton() const { return m_restoreButton; }
    QString lastBackupText() const;
    QString totalText() const;

private:
    void buildWidgets();

    core::Dialogs& m_dialogs;
    foundation::BackupService m_logic;
    QLabel* m_lastBackup = nullptr;
    QLabel* m_total = nullptr;
    QPushButton* m_backupButton = nullptr;
    QPushButton* m_restoreButton = nullptr;
};

} // namespace carvendo::ui
