#include "ui/pos/PosWindows.h"

#include "ui/common/WindowRegistry.h"
#include "ui/pos/TOperatorList.h"
#include "ui/pos/TPosClassic.h"

namespace carvendo::ui {

void registerPosWindows(WindowRegistry& registry)
{
    registry.add(QStringLiteral("TOperatorList"),
                 [](WindowEnvironment& environment, const core::NavigationRequest&, QWidget* parent) {
                     return new TOperatorList(environment, parent);
                 });
    registry.add(QStringLiteral("TPosClassic"),
                 [](WindowEnvironment& environment, const core::NavigationRequest&, QWidget* parent) {
                     return new TPosClassic(environment, parent);
                 });
}

} // namespace carvendo::ui
