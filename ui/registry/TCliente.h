#pragma once

#include "Cliente.h"
#include "Navigator.h"
#include "CardWindow.h"
#include "WindowEnvironment.h"

class QPushButton;

namespace carvendo::ui {

class CardForm;

// The customer card, opened on a customer (request key `idCliente`) or new. Closes after a
// successful "Salva", telling its opener the customer's id.
class TCliente : public CardWindow
{
    Q_OBJECT
public:
    TCliente(WindowEnvironment& environment, const core::NavigationRequest& request, QWidget* parent = nullptr);

    registry::Cliente& logic() { return m_logic; }
    CardForm& personalForm() { return *m_personal; }
    CardForm& commercialForm() { return *m_commercial; }
    QPushButton& exitButton() { return *m_exit; }


protected:
    bool saveRecord() override { return m_logic.save(); }
    bool mayLeave() override { return m_logic.mayLeave(); }
    QVariant savedKey() const override { return m_logic.id(); }

private:
    QWidget* commandsPage();
    void openHistory();
    void showState();

    WindowEnvironment& m_environment;
    registry::Cliente m_logic;
    CardForm* m_personal = nullptr;
    CardForm* m_commercial = nullptr;
    QPushButton* m_exit = nullptr;
    QPushButton* m_history = nullptr;
};

} // namespace carvendo::ui
