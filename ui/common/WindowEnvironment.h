#pragma once

namespace carvendo::core {
class Clock;
class Connections;
class Dialogs;
class Navigator;
class Paths;
class Session;
} // namespace carvendo::core

namespace carvendo::ui {

// What every window receives: the shared login state, the folders, the connections and the two
// ports to the person and to other windows. Made once at start-up; no globals.
struct WindowEnvironment
{
    core::Session& session;
    const core::Paths& paths;
    core::Connections& connections;
    core::Dialogs& dialogs;
    core::Navigator& navigator;
    const core::Clock& clock;
};

} // namespace carvendo::ui
