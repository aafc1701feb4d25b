#pragma once

namespace carvendo::ui {

class WindowRegistry;

// The outgoing messages' windows: "TMailForm", "TSms".
void registerMessagingWindows(WindowRegistry& registry);

} // namespace carvendo::ui
