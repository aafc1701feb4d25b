#pragma once

#include "core/Navigator.h"
#include "stock/MagazzinoAnagrafica.h"
#include "ui/common/RecordCardWindow.h"
#include "ui/common/WindowEnvironment.h"

namespace carvendo::ui {

class CardForm;

// The warehouse card. Opened on a warehouse (request key `idMagazzino`) or new, with a proposed
// name in the value "descrizione". Closes after a successful "Salva", telling its opener the
// warehouse's id.
class TMagazzinoAnagrafica : public RecordCardWindow<stock::MagazzinoAnagrafica>
{
    Q_OBJECT
public:
    TMagazzinoAnagrafica(WindowEnvironment& environment, const core::NavigationRequest& request,
                         QWidget* parent = nullptr);

    CardForm& form() { return *m_form; }

protected:
    void showRecord() override;
    // The save's failures (the server, the settings file) are shown here and keep the card open.
    bool saveRecord() override;

private:
    core::Dialogs& m_dialogs;
    CardForm* m_form = nullptr;
};

} // namespace carvendo::ui
