#pragma once

#include "foundation/BackupService.h"
#include "foundation/DialogoClose.h"
#include "ui/common/Window.h"
#include "ui/common/WindowEnvironment.h"

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
    void follow(foundation::DialogoClose::Outcome outcome);

    foundation::BackupService m_backups;
    foundation::DialogoClose m_logic;
    QPushButton* m_backupButton = nullptr;
    QPushButton* m_confirmButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};

} // namespace carvendo::ui
