#pragma once

namespace carvendo::ui {

class WindowRegistry;

// The item list and its companions: "TArticoli", "TArticoliPreleva", "TRicercaAvanzata".
void registerItemListWindows(WindowRegistry& registry);

} // namespace carvendo::ui
