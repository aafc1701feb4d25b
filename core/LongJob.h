#pragma once

#include <QString>

#include <functional>

namespace carvendo::core {

// A long piece of work (an upgrade, a dump, creating a database). It reports progress 0..100 and
// opens its own database connection: it may run off the window thread.
using LongJob = std::function<void(const std::function<void(int)>& progress)>;

// Runs a long job: the view puts it behind a progress bar on another thread; tests and tools run
// it right away. An exception thrown by the job comes back out of the runner.
using JobRunner = std::function<void(const QString& label, const LongJob& job)>;

// Runs the job on the calling thread (tools, tests).
inline void runHere(const QString&, const LongJob& job)
{
    job([](int) {});
}

} // namespace carvendo::core
