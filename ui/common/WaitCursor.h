#pragma once

#include <QGuiApplication>

namespace carvendo::ui {

// The busy cursor while a piece of work the window waits for runs (laying out a long print): the
// operator sees the program is working, not frozen. Restored however the scope is left.
class WaitCursor
{
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace carvendo::ui
