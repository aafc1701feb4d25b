#pragma once

namespace carvendo::core {
class Clock;
class Connections;
class Dialogs;
class Navigator;
class Paths;
class ReportOutput;
class Session;
} // namespace carvendo::core

namespace carvendo::ui {

// What every window receives: the shared login state, the folders, the connections and the ports
// to the person, to other windows and to the printer. Made once at start-up; no globals.
struct WindowEnvironment
{
    core::Session& session;
    const core::Paths& paths;
    core::Connections& connections;
    core::Dialogs& dialogs;
    core::Navigator& navigator;
    const core::Clock& clock;
    core::ReportOutput& reports;
};

} // namespace carvendo::ui
