#pragma once

namespace carvendo::ui {

class WindowRegistry;

// The stock level windows: "TDisponibilita", "TSottoscorta", "TInventario".
void registerStockLevelWindows(WindowRegistry& registry);

} // namespace carvendo::ui
