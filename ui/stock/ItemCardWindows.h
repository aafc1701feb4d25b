#pragma once

namespace carvendo::ui {

class WindowRegistry;

// The item card under its three names: "TArticolo", "TAnagraficaArticolo" and
// "TAnagraficaArticoloLibr" (with the book fields).
void registerItemCardWindows(WindowRegistry& registry);

} // namespace carvendo::ui
