#pragma once

#include "Clock.h"
#include "Connections.h"
#include "FixedClock.h"
#include "Paths.h"
#include "RecordingNavigator.h"
#include "RecordingReportOutput.h"
#include "ScriptedDialogs.h"
#include "Session.h"
#include "WindowEnvironment.h"

#include <QTemporaryDir>

namespace carvendo::testing {

// What a window under test receives: folders in a temporary directory, a fresh login state and
// connections, scripted messages, a recording navigator, a fixed clock and a recording print
// output. Fixtures inherit it beside their own base and keep these member names.
struct WindowTestBench
{
    QTemporaryDir m_dir;
    core::Paths m_paths{m_dir.path(), m_dir.path()};
    core::Session m_session;
    core::Connections m_connections;
    ScriptedDialogs m_dialogs;
    RecordingNavigator m_navigator;
    FixedClock m_clock;
    RecordingReportOutput m_reports;
    ui::WindowEnvironment m_environment{m_session, m_paths, m_connections, m_dialogs, m_navigator, m_clock, m_reports};
};

} // namespace carvendo::testing
