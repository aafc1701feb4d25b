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

} // namespace carvendo::ui
