#pragma once

namespace carvendo::ui {

class WindowRegistry;

// Registers the customer and supplier lists (TClienti, TFornitori) and the four pickers.
void registerRegistryListWindows(WindowRegistry& registry);

} // namespace carvendo::ui
