#pragma once

#include "BackupService.h"
#include "DialogoClose.h"
#include "Window.h"
#include "WindowEnvironment.h"

class QPushButton;

namespace carvendo::ui {

// "Chiusura Applicazione": asks whether to close, optionally after a safety dump. Accepted means
// the program ends; rejected (also by Escape) means back to the main window.
class TDialogoClose : public Window
{
    Q_OBJECT
public:
    explicit TDialogoClose(WindowEnvironment& environment, QWidget* parent = nullptr);

    QPushButton* backupButton() const { return m_backupButton; }
    QPushButton* confirmButton() const { return m_confirmButton; }
    QPushButton* cancelButton() const { return m_cancelButton; }

private:
    void buildWidgets();
    void follow(core::DialogoClose::Outcome outcome);

    core::BackupService m_backups;
    core::DialogoClose m_logic;
    QPushButton* m_backupButton = nullptr;
    QPushButton* m_confirmButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};

} // namespace carvendo::ui
