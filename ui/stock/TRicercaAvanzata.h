#pragma once

#include "core/Navigator.h"
#include "stock/RicercaAvanzata.h"
#include "ui/common/Window.h"
#include "ui/common/WindowEnvironment.h"

class QComboBox;
class QLineEdit;

namespace carvendo::ui {

// The advanced item search: an attribute, a value, "Cerca" (or Enter). Closes handing both to the
// list when some item has the value.
class TRicercaAvanzata : public Window
{
    Q_OBJECT

public:
    TRicercaAvanzata(WindowEnvironment& environment, const core::NavigationRequest& request,
                     QWidget* parent = nullptr);

    stock::RicercaAvanzata& logic() { return m_logic; }
    QComboBox* attributeSelector() const { return m_attribute; }
    QLineEdit* valueField() const { return m_value; }
    core::NavigationResult navigationResult() const override { return m_logic.result(); }

private:
    void search();

    core::Dialogs& m_dialogs;
    stock::RicercaAvanzata m_logic;
    QComboBox* m_attribute = nullptr;
    QLineEdit* m_value = nullptr;
};

} // namespace carvendo::ui
