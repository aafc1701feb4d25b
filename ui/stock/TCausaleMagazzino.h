#pragma once

#include "core/Navigator.h"
#include "stock/CausaleMagazzino.h"
#include "ui/common/Window.h"
#include "ui/common/WindowEnvironment.h"

namespace carvendo::ui {

class EditableList;

// The stock movement reasons: the list edited in place, "Aggiungi" for a new reason, "Rimuovi"
// for the selected one.
class TCausaleMagazzino : public Window
{
    Q_OBJECT
public:
    TCausaleMagazzino(WindowEnvironment& environment, const core::NavigationRequest& request,
                      QWidget* parent = nullptr);

    stock::CausaleMagazzino& logic() { return m_logic; }
    EditableList* list() const { return m_list; }

private:
    stock::CausaleMagazzino m_logic;
    EditableList* m_list = nullptr;
};

} // namespace carvendo::ui
