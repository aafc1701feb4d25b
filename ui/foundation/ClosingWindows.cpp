#include "ui/foundation/ClosingWindows.h"

#include "ui/common/BackgroundTask.h"
#include "ui/common/WindowRegistry.h"
#include "ui/foundation/TDialogoClose.h"

namespace carvendo::ui {

void registerClosingWindows(WindowRegistry& registry)
{
    registry.add(QStringLiteral("TDialogoClose"),
                 [](WindowEnvironment& environment, const core::NavigationRequest&, QWidget* parent) {
                     return new TDialogoClose(environment, parent);
                 });
}

} // namespace carvendo::ui
