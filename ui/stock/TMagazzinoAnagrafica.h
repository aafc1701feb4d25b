#pragma once

#include "MagazzinoAnagrafica.h"
#include "Navigator.h"
#include "CardWindow.h"
#include "WindowEnvironment.h"

class QPushButton;

namespace carvendo::ui {

class CardForm;

// The warehouse card. Opened on a warehouse (request key `idMagazzino`) or new, with a proposed
// name in the value "descrizione". Closes after a successful "Salva", telling its opener the
// warehouse's id.
class TMagazzinoAnagrafica : public CardWindow
{
    Q_OBJECT
public:
    TMagazzinoAnagrafica(WindowEnvironment& environment, const core::NavigationRequest& request,
                         QWidget* parent = nullptr);

    stock::MagazzinoAnagrafica& logic() { return m_logic; }
    CardForm& form() { return *m_form; }
    QPushButton& exitButton() { return *m_exit; }


protected:
    bool saveRecord() override { return m_logic.save(); }
    bool mayLeave() override { return m_logic.mayLeave(); }
    QVariant savedKey() const override { return m_logic.id(); }

private:
    void showState();

    stock::MagazzinoAnagrafica m_logic;
    CardForm* m_form = nullptr;
    QPushButton* m_exit = nullptr;
};

} // namespace carvendo::ui
