#pragma once

#include "core/Navigator.h"

#include <QPointer>
#include <QWidget>

#include <optional>

namespace carvendo::ui {

class WindowRegistry;
struct WindowEnvironment;

// Opens registered windows modally, over the window that is active, and frees them on return.
class WidgetNavigator : public core::Navigator
{
public:
    explicit WidgetNavigator(const WindowRegistry& registry) : m_registry(registry) {}

    // Given once the environment exists (it holds this navigator).
    void setEnvironment(WindowEnvironment* environment) { m_environment = environment; }

protected:
    core::NavigationResult openWindow(const core::NavigationRequest& request) override;

private:
    const WindowRegistry& m_registry;
    WindowEnvironment* m_environment = nullptr;
};

} // namespace carvendo::ui
