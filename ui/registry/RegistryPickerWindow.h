#pragma once

#include "registry/RegistryPicker.h"
#include "ui/common/Window.h"
#include "ui/common/WindowEnvironment.h"

namespace carvendo::ui {

class RegistrySearchPanel;

// The picker windows TClientiPreleva, TClientiPrelDest, TFornitoriPreleva and TFornitoriPrelDest:
// search, "Nuovo", "Elimina", and "Conferma" (or Enter / double click on a row) hands the chosen
// record to the caller named in the request.
class RegistryPickerWindow : public Window
{
    Q_OBJECT

public:
    RegistryPickerWindow(const registry::PickerWindow& picker, WindowEnvironment& environment,
                         const core::NavigationRequest& request, QWidget* parent = nullptr);

    registry::RegistryPicker& logic() { return m_logic; }
    RegistrySearchPanel* panel() const { return m_panel; }
    core::NavigationResult navigationResult() const override { return m_logic.result(); }

private:
    void confirm();
    void newRecord();
    void deleteCurrent();

    core::Dialogs& m_dialogs;
    registry::RegistryPicker m_logic;
    RegistrySearchPanel* m_panel = nullptr;
};

} // namespace carvendo::ui
