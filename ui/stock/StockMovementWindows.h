#pragma once

namespace carvendo::ui {

class WindowRegistry;

// The stock movement windows: "TMovimentiMagazzino", "TAnalisiMagazzino", "TMagazziniLista",
// "TCausaleMagazzino".
void registerStockMovementWindows(WindowRegistry& registry);

} // namespace carvendo::ui
