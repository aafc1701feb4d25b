#include "ui/stock/StockLevelWindows.h"

#include "ui/common/WindowRegistry.h"
#include "ui/stock/TDisponibilita.h"
#include "ui/stock/TInventario.h"
#include "ui/stock/TSottoscorta.h"

namespace carvendo::ui {

namespace {

template <typename View> WindowFactory factory()
{
    return [](WindowEnvironment& environment, const core::NavigationRequest& request, QWidget* parent) {
        return new View(environment, request, parent);
    };
}

} // namespace

void registerStockLevelWindows(WindowRegistry& registry)
{
    registry.add(QStringLiteral("TDisponibilita"), factory<TDisponibilita>());
    registry.add(QStringLiteral("TSottoscorta"), factory<TSottoscorta>());
    registry.add(QStringLiteral("TInventario"), factory<TInventario>());
}

} // namespace carvendo::ui
