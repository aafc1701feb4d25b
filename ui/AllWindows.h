#pragma once

namespace carvendo::core {
class EmbeddedServer;
} // namespace carvendo::core

namespace carvendo::ui {

class WindowRegistry;

// Every window the program has. A later subsystem adds its own registration here. `embedded` is
// the workstation's embedded server (the server window may have to start it).
void registerAllWindows(WindowRegistry& registry, core::EmbeddedServer& embedded);

} // namespace carvendo::ui
