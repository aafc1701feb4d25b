#pragma once

#include "core/LongJob.h"

#include <QString>

#include <functional>

class QWidget;

namespace carvendo::ui {

// What a background job tells the window while it works.
class ProgressReporter
{
public:
    virtual ~ProgressReporter() = default;
    virtual void setProgress(int percent) = 0; // 0..100
    virtual void setLabel(const QString& text) = 0;
};

// Runs a long job (a dump, a restore, creating a database) off the window thread behind a modal
// progress bar, so the screen never freezes. Returns when the job is over; an exception thrown by
// the job (DbError, ...) is thrown again here, on the window thread. The job must not touch
// widgets and opens its own database connection.
void runInBackground(QWidget* parent, const QString& label,
                     const std::function<void(ProgressReporter&)>& job);

// The runner a window hands its logic: every long job goes behind the progress bar above.
core::JobRunner backgroundJobRunner(QWidget* parent);

} // namespace carvendo::ui
