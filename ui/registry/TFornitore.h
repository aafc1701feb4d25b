#pragma once

#include "Fornitore.h"
#include "Navigator.h"
#include "CardWindow.h"
#include "WindowEnvironment.h"

class QPushButton;

namespace carvendo::ui {

class CardForm;

// The supplier card, opened on a supplier (request key `id_fornitore`) or new. Closes after a
// successful "Salva", telling its opener the supplier's id.
class TFornitore : public CardWindow
{
    Q_OBJECT
public:
    TFornitore(WindowEnvironment& environment, const core::NavigationRequest& request, QWidget* parent = nullptr);

    registry::Fornitore& logic() { return m_logic; }
    CardForm& form() { return *m_form; }
    CardForm& bankForm() { return *m_bank; }
    QPushButton& exitButton() { return *m_exit; }


protected:
    bool saveRecord() override { return m_logic.save(); }
    bool mayLeave() override { return m_logic.mayLeave(); }
    QVariant savedKey() const override { return m_logic.id(); }

private:
    void showState();

    registry::Fornitore m_logic;
    CardForm* m_form = nullptr;
    CardForm* m_bank = nullptr;
    QPushButton* m_exit = nullptr;
    QPushButton* m_makeCustomer = nullptr;
};

} // namespace carvendo::ui
