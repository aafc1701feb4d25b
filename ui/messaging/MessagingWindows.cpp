#include "ui/messaging/MessagingWindows.h"

#include "ui/common/WindowRegistry.h"
#include "ui/messaging/TMailForm.h"
#include "ui/messaging/TSms.h"

namespace carvendo::ui {

void registerMessagingWindows(WindowRegistry& registry)
{
    registry.add(QStringLiteral("TMailForm"), factory<TMailForm>());
    registry.add(QStringLiteral("TSms"), factory<TSms>());
}

} // namespace carvendo::ui
