#pragma once

#include "LongJob.h"

class QWidget;

namespace carvendo::ui {

class WindowRegistry;

// "TDialogoClose": the closing dialog. Its navigation result is accepted when the program must end.
void registerClosingWindows(WindowRegistry& registry);

// Runs the dumps and restores of these windows behind the modal progress bar, off the window thread.
core::JobRunner progressBarJobRunner(QWidget* parent);

} // namespace carvendo::ui
