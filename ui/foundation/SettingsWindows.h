#pragma once

namespace carvendo::ui {

class WindowRegistry;

// "TImpostazioniNew" and "TConfig".
void registerSettingsWindows(WindowRegistry& registry);

} // namespace carvendo::ui
