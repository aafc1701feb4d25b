#pragma once

#include "Fornitore.h"
#include "Navigator.h"
#include "Window.h"
#include "WindowEnvironment.h"

class QPushButton;

namespace carvendo::ui {

class CardForm;

// The supplier card, opened on a supplier (request key `id_fornitore`) or new. Closes after a
// successful "Salva", telling its opener the supplier's id.
class TFornitore : public Window
{
    Q_OBJECT
public:
    TFornitore(WindowEnvironment& environment, const core::NavigationRequest& request, QWidget* parent = nullptr);

    registry::Fornitore& logic() { return m_logic; }
    CardForm& form() { return *m_form; }
    CardForm& bankForm() { return *m_bank; }
    QPushButton& exitButton() { return *m_exit; }

    void save();
    void reject() override; // "Annulla"/"Esci", Escape and the window's close button
    core::NavigationResult navigationResult() const override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showState();

    registry::Fornitore m_logic;
    CardForm* m_form = nullptr;
    CardForm* m_bank = nullptr;
    QPushButton* m_exit = nullptr;
    QPushButton* m_makeCustomer = nullptr;
};

} // namespace carvendo::ui
