#include "ui/foundation/MainWindows.h"

#include "ui/common/WindowRegistry.h"
#include "ui/foundation/TPrincipale.h"

namespace carvendo::ui {

void registerMainWindows(WindowRegistry& registry)
{
    registry.add(
        QStringLiteral("TPrincipale"),
        [&registry](WindowEnvironment& environment, const core::NavigationRequest& request, QWidget* parent) {
            return new TPrincipale(
                environment, request, [&registry](const QString& window) { return registry.has(window); },
                parent);
        });
}

} // namespace carvendo::ui
