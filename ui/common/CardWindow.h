#pragma once

#include "ui/common/Window.h"

#include <QVariant>

class QCloseEvent;
class QDialogButtonBox;
class QPushButton;

namespace carvendo::ui {

// A record card: "Salva" closes it only when the record was saved; leaving ("Annulla"/"Esci",
// Escape or the window's close button) asks first when there are unsaved changes; the opener gets
// the saved record's key back.
class CardWindow : public Window
{
    Q_OBJECT
public:
    using Window::Window;

    void save();
    void reject() override;
    core::NavigationResult navigationResult() const override;

protected:
    void closeEvent(QCloseEvent* event) override;

    virtual bool saveRecord() = 0;         // true when saved; otherwise the reason was shown
    virtual bool mayLeave() = 0;           // asks about unsaved changes
    virtual QVariant savedKey() const = 0; // the key of the record now on the card

    // The commands under a card: "Salva", the default button (Enter saves), and the exit command
    // with the caption given, wired to save() and reject().
    struct SaveAndExit
    {
        QDialogButtonBox* row = nullptr;
        QPushButton* exit = nullptr;
    };
    SaveAndExit saveAndExitButtons(const QString& exitCaption);
};

} // namespace carvendo::ui
