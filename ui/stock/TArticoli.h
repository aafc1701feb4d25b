#pragma once

#include "core/Navigator.h"
#include "stock/Articoli.h"
#include "ui/common/Window.h"
#include "ui/common/WindowEnvironment.h"

namespace carvendo::ui {

class ItemListPanel;

// The item list: searches, warehouse selector, "Nuovo", "Modifica", "Duplica", "Elimina",
// "Allinea", the printed list and the exports; the grid layout is kept between sessions.
class TArticoli : public Window
{
    Q_OBJECT

public:
    TArticoli(WindowEnvironment& environment, const core::NavigationRequest& request,
              QWidget* parent = nullptr);

    stock::Articoli& logic() { return m_logic; }
    ItemListPanel* panel() const { return m_panel; }

protected:
    void done(int result) override;

private:
    core::Dialogs& m_dialogs;
    core::ReportOutput& m_reports;
    stock::Articoli m_logic;
    ItemListPanel* m_panel = nullptr;
};

} // namespace carvendo::ui
