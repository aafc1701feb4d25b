#include "ui/pos/PosWindows.h"

#include "ui/common/WindowRegistry.h"
#include "ui/pos/TOperatorList.h"

namespace carvendo::ui {

void registerPosWindows(WindowRegistry& registry)
{
    registry.add(QStringLiteral("TOperatorList"),
                 [](WindowEnvironment& environment, const core::NavigationRequest&, QWidget* parent) {
                     return new TOperatorList(environment, parent);
                 });
}

} // namespace carvendo::ui
