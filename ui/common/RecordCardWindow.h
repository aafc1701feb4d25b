#pragma once

#include "ui/common/CardWindow.h"

#include <QDialogButtonBox>
#include <QPushButton>

#include <utility>

namespace carvendo::ui {

// A card window over its logic object, which has open(key), openNew(), save(), mayLeave(), id()
// and exitCaption() and signals changed(). The card builds its forms, lays out cardButtons() and
// calls openRequested(); from then on every change of the logic is shown through showRecord(), and
// the exit command follows the record ("Annulla" on a new one, "Esci" on a saved one).
template <typename Logic> class RecordCardWindow : public CardWindow
{
public:
    Logic& logic() { return m_logic; }
    QPushButton& exitButton() { return *m_exit; }

protected:
    template <typename... LogicArguments>
    RecordCardWindow(core::Dialogs& dialogs, QWidget* parent, LogicArguments&&... arguments)
        : CardWindow(dialogs, parent), m_logic(std::forward<LogicArguments>(arguments)...)
    {
    }

    bool saveRecord() override { return m_logic.save(); }
    bool mayLeave() override { return m_logic.mayLeave(); }
    QVariant savedKey() const override { return m_logic.id(); }

    // Shows the logic's values on the card's own widgets.
    virtual void showRecord() = 0;

    // "Salva" and the exit command, wired; for the card's layout.
    QDialogButtonBox* cardButtons()
    {
        const SaveAndExit buttons = saveAndExitButtons(m_logic.exitCaption());
        m_exit = buttons.exit;
        return buttons.row;
    }

    // Opens the record of the request's key, or a new one through openNew(), and shows it. A record
    // gone meanwhile (the logic has told the operator) or one that could not be read (the failure is
    // shown) closes the card once it is up.
    template <typename OpenNew> void openRequested(const core::NavigationRequest& request, OpenNew&& openNew)
    {
        connect(&m_logic, &Logic::changed, this, [this] { guarded([this] { showState(); }); });
        bool opened = false;
        guarded([&] {
            if (request.key.isValid() && !request.key.isNull()) {
                opened = m_logic.open(request.key.toInt());
            } else {
                std::forward<OpenNew>(openNew)();
                opened = true;
            }
            showState();
        });
        if (!opened)
            closeOnceUp();
    }
    void openRequested(const core::NavigationRequest& request)
    {
        openRequested(request, [this] { m_logic.openNew(); });
    }

    Logic m_logic;

private:
    void showState()
    {
        showRecord();
        m_exit->setText(m_logic.exitCaption());
    }

    QPushButton* m_exit = nullptr;
};

} // namespace carvendo::ui
