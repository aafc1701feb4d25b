#include "ui/common/WidgetNavigator.h"

#include "ui/common/WindowRegistry.h"

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
    std::unique_ptr<Window> window(m_registry.create(request.window, *m_environment, request, parent));
    if (!window) {
        qCWarning(navigationLog) << "window not available:" << request.window;
        return {};
    }
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->exec();
    return window->navigationResult();
}

} // namespace carvendo::ui
