#pragma once

namespace carvendo::ui {

class WindowRegistry;

// The main window "TPrincipale". Its commands are enabled by what the registry holds when the
// window opens, so register it along with every other window.
void registerMainWindows(WindowRegistry& registry);

} // namespace carvendo::ui
