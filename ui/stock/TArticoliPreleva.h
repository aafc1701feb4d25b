#pragma once

#include "stock/ArticoliPreleva.h"
#include "ui/common/Window.h"
#include "ui/common/WindowEnvironment.h"

namespace carvendo::ui {

class ItemListPanel;

// The item picker: the item list's searches, "Nuovo", "Elimina", and "Conferma" (or Enter / double
// click on a row) hands the current item to the caller named in the request. A caller may hand the
// text already typed in its own field as the value "testo" (searched in the description).
class TArticoliPreleva : public Window
{
    Q_OBJECT

public:
    TArticoliPreleva(WindowEnvironment& environment, const core::NavigationRequest& request,
                     QWidget* parent = nullptr);

    stock::ArticoliPreleva& logic() { return m_logic; }
    ItemListPanel* panel() const { return m_panel; }
    core::NavigationResult navigationResult() const override { return m_logic.result(); }

private:
    void confirm();

    core::Dialogs& m_dialogs;
    stock::ArticoliPreleva m_logic;
    ItemListPanel* m_panel = nullptr;
};

} // namespace carvendo::ui
