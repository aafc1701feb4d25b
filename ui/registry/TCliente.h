#pragma once

#include "core/Navigator.h"
#include "registry/Cliente.h"
#include "ui/common/RecordCardWindow.h"
#include "ui/common/WindowEnvironment.h"

class QPushButton;

namespace carvendo::ui {

class CardForm;

// The customer card, opened on a customer (request key `idCliente`) or new. Closes after a
// successful "Salva", telling its opener the customer's id.
class TCliente : public RecordCardWindow<registry::Cliente>
{
    Q_OBJECT
public:
    TCliente(WindowEnvironment& environment, const core::NavigationRequest& request,
             QWidget* parent = nullptr);

    CardForm& personalForm() { return *m_personal; }
    CardForm& commercialForm() { return *m_commercial; }

protected:
    void showRecord() override;

private:
    QWidget* commandsPage();
    void openHistory();

    WindowEnvironment& m_environment;
    CardForm* m_personal = nullptr;
    CardForm* m_commercial = nullptr;
    QPushButton* m_history = nullptr;
};

} // namespace carvendo::ui
