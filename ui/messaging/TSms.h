#pragma once

#include "core/Navigator.h"
#include "messaging/Sms.h"
#include "ui/common/Window.h"
#include "ui/common/WindowEnvironment.h"

namespace carvendo::ui {

class CardForm;

// "Impostazioni Sms": the gateway account with its check, and the texts of the messages.
class TSms : public Window
{
    Q_OBJECT
public:
    TSms(WindowEnvironment& environment, const core::NavigationRequest& request, QWidget* parent = nullptr);

    messaging::Sms& logic() { return m_logic; }
    CardForm* accountForm() const { return m_accountForm; }
    CardForm* textsForm() const { return m_textsForm; }

private:
    core::Dialogs& m_dialogs;
    messaging::Sms m_logic;
    CardForm* m_accountForm = nullptr;
    CardForm* m_textsForm = nullptr;
};

} // namespace carvendo::ui
