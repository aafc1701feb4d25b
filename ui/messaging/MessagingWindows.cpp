#include "ui/messaging/MessagingWindows.h"

#include "ui/common/WindowRegistry.h"
#include "ui/messaging/TMailForm.h"
#include "ui/messaging/TSms.h"

namespace carvendo::ui {

namespace {

template <typename View> WindowFactory factory()
{
    return [](WindowEnvironment& environment, const core::NavigationRequest& request, QWidget* parent) {
        return new View(environment, request, parent);
    };
}

} // namespace

void registerMessagingWindows(WindowRegistry& registry)
{
    registry.add(QStringLiteral("TMailForm"), factory<TMailForm>());
    registry.add(QStringLiteral("TSms"), factory<TSms>());
}

} // namespace carvendo::ui
