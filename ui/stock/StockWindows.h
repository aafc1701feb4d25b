#pragma once

namespace carvendo::ui {

class WindowRegistry;

// The windows of the warehouse: "TMagazzinoAnagrafica".
void registerStockWindows(WindowRegistry& registry);

} // namespace carvendo::ui
