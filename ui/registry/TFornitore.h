#pragma once

#include "core/Navigator.h"
#include "registry/Fornitore.h"
#include "ui/common/RecordCardWindow.h"
#include "ui/common/WindowEnvironment.h"

class QPushButton;

namespace carvendo::ui {

class CardForm;

// The supplier card, opened on a supplier (request key `id_fornitore`) or new. Closes after a
// successful "Salva", telling its opener the supplier's id.
class TFornitore : public RecordCardWindow<registry::Fornitore>
{
    Q_OBJECT
public:
    TFornitore(WindowEnvironment& environment, const core::NavigationRequest& request,
               QWidget* parent = nullptr);

    CardForm& form() { return *m_form; }
    CardForm& bankForm() { return *m_bank; }

protected:
    void showRecord() override;

private:
    CardForm* m_form = nullptr;
    CardForm* m_bank = nullptr;
    QPushButton* m_makeCustomer = nullptr;
};

} // namespace carvendo::ui
