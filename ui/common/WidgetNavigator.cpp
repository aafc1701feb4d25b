#include "ui/common/WidgetNavigator.h"

#include "ui/common/WindowEnvironment.h"
#include "ui/common/WindowRegistry.h"

#include "core/CommandGuard.h"

#include <QApplication>
#include <QLoggingCategory>

#include <memory>

Q_LOGGING_CATEGORY(navigationLog, "carvendo.navigation")

namespace carvendo::ui {

core::NavigationResult WidgetNavigator::openWindow(const core::NavigationRequest& request)
{
    if (!m_environment)
        return {};
    QWidget* parent = QApplication::activeWindow();
    core::NavigationResult result;
    // A window that cannot be built (its records cannot be read) says why and does not open; the
    // window that asked for it stays as it was.
    core::runGuarded(m_environment->dialogs, [&] {
        std::unique_ptr<Window> window(m_registry.create(request.window, *m_environment, request, parent));
        if (!window) {
            qCWarning(navigationLog) << "window not available:" << request.window;
            return;
        }
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->exec();
        result = window->navigationResult();
    });
    return result;
}

} // namespace carvendo::ui
