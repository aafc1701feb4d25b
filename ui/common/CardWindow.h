#pragma once

#include "core/CommandGuard.h"
#include "ui/common/Window.h"

#include <QVariant>

#include <utility>

class QCloseEvent;
class QDialogButtonBox;
class QPushButton;

namespace carvendo::ui {

// A record card: "Salva" closes it only when the record was saved; leaving ("Annulla"/"Esci",
// Escape or the window's close button) asks first when there are unsaved changes; the opener gets
// the saved record's key back. A save or a leave that fails (the server, a refused value) is shown
// and the card stays open with what was typed.
class CardWindow : public Window
{
    Q_OBJECT
public:
    CardWindow(core::Dialogs& dialogs, QWidget* parent) : Window(parent), m_dialogs(dialogs) {}

    void save();
    void reject() override;
    core::NavigationResult navigationResult() const override;

protected:
    void closeEvent(QCloseEvent* event) override;

    virtual bool saveRecord() = 0;         // true when saved; otherwise the reason was shown
    virtual bool mayLeave() = 0;           // asks about unsaved changes
    virtual QVariant savedKey() const = 0; // the key of the record now on the card

    // Runs one of the card's commands, showing why it failed instead of letting the failure out of
    // the click or the edit that started it. True when it went through.
    template <typename Command> bool guarded(Command&& command)
    {
        return core::runGuarded(m_dialogs, std::forward<Command>(command));
    }
    // Closes the card without asking, once it is up: for a record that could not be opened.
    void closeOnceUp();

    // The commands under a card: "Salva", the default button (Enter saves), and the exit command
    // with the caption given, wired to save() and reject().
    struct SaveAndExit
    {
        QDialogButtonBox* row = nullptr;
        QPushButton* exit = nullptr;
    };
    SaveAndExit saveAndExitButtons(const QString& exitCaption);

private:
    core::Dialogs& m_dialogs;
};

} // namespace carvendo::ui
