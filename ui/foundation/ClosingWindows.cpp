#include "ClosingWindows.h"

#include "BackgroundTask.h"
#include "TDialogoClose.h"
#include "WindowRegistry.h"

namespace carvendo::ui {

void registerClosingWindows(WindowRegistry& registry)
{
    registry.add(QStringLiteral("TDialogoClose"),
                 [](WindowEnvironment& environment, const core::NavigationRequest&, QWidget* parent) {
                     return new TDialogoClose(environment, parent);
                 });
}

core::JobRunner progressBarJobRunner(QWidget* parent)
{
    return [parent](const QString& label, const core::LongJob& job) {
        runInBackground(parent, label, [&job](ProgressReporter& reporter) {
            job([&reporter](int percent) { reporter.setProgress(percent); });
        });
    };
}

} // namespace carvendo::ui
