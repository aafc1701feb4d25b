#pragma once

namespace carvendo::ui {

class WindowRegistry;

// "TDialogoClose": the closing dialog. Its navigation result is accepted when the program must end.
void registerClosingWindows(WindowRegistry& registry);

} // namespace carvendo::ui
