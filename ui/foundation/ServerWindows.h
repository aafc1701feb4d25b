#pragma once

namespace carvendo::core {
class EmbeddedServer;
} // namespace carvendo::core

namespace carvendo::ui {

class WindowRegistry;

// "TImpostazioniServer". Its "Salva" may have to start this workstation's embedded server: the one
// the program stops when it ends, so it is handed in here.
void registerServerWindows(WindowRegistry& registry, core::EmbeddedServer& embedded);

} // namespace carvendo::ui
