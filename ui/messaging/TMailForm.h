#pragma once

#include "core/Navigator.h"
#include "messaging/MailForm.h"
#include "ui/common/Window.h"
#include "ui/common/WindowEnvironment.h"

class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace carvendo::ui {

// "Invio e-mail": sender, recipient, copy, subject, body, the attached file and the list of what the
// mail client did. Opened empty or filled through the request's values (MailMessage::toValues).
class TMailForm : public Window
{
    Q_OBJECT
public:
    TMailForm(WindowEnvironment& environment, const core::NavigationRequest& request,
              QWidget* parent = nullptr);

    messaging::MailForm& logic() { return m_logic; }
    QListWidget* statusList() const { return m_status; }

private:
    void showMessage();
    void showStatus();

    core::Dialogs& m_dialogs;
    messaging::MailForm m_logic;
    QLineEdit* m_sender = nullptr;
    QLineEdit* m_recipient = nullptr;
    QLineEdit* m_copy = nullptr;
    QLineEdit* m_subject = nullptr;
    QPlainTextEdit* m_body = nullptr;
    QLineEdit* m_attachment = nullptr;
    QListWidget* m_status = nullptr;
};

} // namespace carvendo::ui
