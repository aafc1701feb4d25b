#pragma once

#include "core/Navigator.h"

#include <QDialog>

namespace carvendo::ui {

// The base of every window: a modal dialog that can tell its opener what it chose.
class Window : public QDialog
{
    Q_OBJECT
public:
    using QDialog::QDialog;

    // By default: confirmed when the window was accepted, nothing chosen.
    virtual core::NavigationResult navigationResult() const;
};

} // namespace carvendo::ui
