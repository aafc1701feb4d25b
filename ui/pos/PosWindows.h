#pragma once

namespace carvendo::ui {

class WindowRegistry;

// The windows of the point of sale: "TPosClassic" (the keyboard till) and "TOperatorList" (the
// operator login at the till; its navigation result's value is the username logged in).
void registerPosWindows(WindowRegistry& registry);

} // namespace carvendo::ui
